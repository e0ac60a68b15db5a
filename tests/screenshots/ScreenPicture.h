#pragma once

#include "support/xserver/XServerProbe.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace screenshots
{

/** A picture of part of the X server's screen, read from the server itself: what a person in
    front of it sees, popups included, not what a component would paint into an image.

    Taken around a set of windows, it shows only them: the parts of the surrounding rectangle
    that none of them covers (the empty screen behind) are filled with a plain grey. Points are
    screen coordinates throughout. */
class ScreenPicture
{
public:
    static const juce::Colour emptyScreen;

    ScreenPicture() = default;

    /** The area as the screen shows it; invalid when it cannot be read. */
    static ScreenPicture take (const XServerProbe& screen, juce::Rectangle<int> area);

    /** The smallest rectangle around the windows, showing only the windows. */
    static ScreenPicture takeAround (const XServerProbe& screen, const std::vector<juce::Rectangle<int>>& windows);

    bool isValid() const noexcept { return image.isValid(); }
    juce::Rectangle<int> getArea() const noexcept { return area; }

    /** Transparent outside the picture. */
    juce::Colour colourAt (juce::Point<int> onScreen) const;

    /** The mean colour of the part of the rectangle inside the picture. */
    juce::Colour averageColourIn (juce::Rectangle<int> onScreen) const;

    /** The colour most pixels of the rectangle have, to the nearest 16th of each channel:
        the background of a popup, whatever text it carries. */
    juce::Colour commonestColourIn (juce::Rectangle<int> onScreen) const;

    bool anyPixelIn (juce::Rectangle<int> onScreen, const std::function<bool (juce::Colour)>& wanted) const;

    int countDistinctColours() const;

    /** The share of the rectangle's pixels, of those inside both pictures, whose colour differs
        from the other picture's in some channel by more than a little (the noise of dithering). */
    float shareOfPixelsDifferentFrom (const ScreenPicture& other, juce::Rectangle<int> onScreen) const;

    bool saveAsPng (const juce::File& file) const;

private:
    ScreenPicture (juce::Image picture, juce::Rectangle<int> onScreen);

    juce::Image image;
    juce::Rectangle<int> area;
};

/** Brightness on a 0..255 scale, as the eye weighs the channels. */
float brightnessOf (juce::Colour colour);

} // namespace screenshots
