#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The channel strip's faceplate: one picture, stretched over the whole component without
    keeping its aspect ratio. The picture is drawn at 650 x 1140 for the 325 x 570 strip, so it
    is normally shown at half scale. Without a valid picture the panel draws nothing.

    The picture is scaled to the panel's size (at the screen's pixel scale) when the panel is
    laid out, so that painting only copies pixels. A picture given with a share key is scaled
    once per size for the whole process (HvSharedArt): every panel of that size shows the same
    scaled copy. The scaled copy is opaque: the picture covers the whole panel. */
class EQ713K_Panel : public juce::Component
{
public:
    EQ713K_Panel();

    /** The share key names the picture for the whole process; leave it empty for a picture of
        this panel's own. */
    void setImage (const juce::Image& newImage, const juce::String& shareKey = {});
    const juce::Image& getImage() const noexcept { return image; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void renderScaledImage();

    juce::Image image;
    juce::String shareKey;
    juce::Image scaledImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EQ713K_Panel)
};
