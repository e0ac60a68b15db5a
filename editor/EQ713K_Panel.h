#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The channel strip's faceplate: one picture, stretched over the whole component without
    keeping its aspect ratio. The picture is drawn at 650 x 1140 for the 325 x 570 strip, so it
    is normally shown at half scale. Without a valid picture the panel draws nothing.

    The picture is scaled to the panel's size (at the screen's pixel scale) when the panel is
    laid out, so that painting only copies pixels. The scaled copy is opaque: the picture covers
    the whole panel. A shared picture (setSharedImage) is scaled once per size for the whole
    process (HvSharedArt), and decoded only when a size is asked for that the process does not
    hold yet: every panel of that size shows the same scaled copy. */
class EQ713K_Panel : public juce::Component
{
public:
    EQ713K_Panel();

    /** A picture of this panel's own. */
    void setImage (const juce::Image& newImage);

    /** The picture the share key names for the whole process: `picture` gives it (decoding it
        once), `readyMade` may give its copy at a size without decoding it (an invalid image
        when it has none). The scaled copies are stored under the key and the size. */
    void setSharedImage (const juce::String& shareKey, std::function<juce::Image()> picture,
                         std::function<juce::Image (int width, int height)> readyMade = {});

    /** The picture itself (for a shared one, decoded if nobody has yet). */
    juce::Image getImage() const;

    /** What paint draws: the picture at the panel's size. */
    const juce::Image& getScaledImage() const noexcept { return scaledImage; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void renderScaledImage();

    juce::Image image;
    juce::String shareKey;
    std::function<juce::Image()> sharedPicture;
    std::function<juce::Image (int, int)> readyMadeCopy;
    juce::Image scaledImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EQ713K_Panel)
};
