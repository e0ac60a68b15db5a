#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The channel strip's faceplate: one picture, stretched over the whole component without
    keeping its aspect ratio. The picture is drawn at 650 x 1140 for the 325 x 570 strip, so it
    is normally shown at half scale. Without a valid picture the panel draws nothing.

    The picture is shared by every strip; each panel keeps its own copy scaled to its size when
    it is laid out, so that painting only copies pixels. */
class EQ713K_Panel : public juce::Component
{
public:
    EQ713K_Panel();

    void setImage (const juce::Image& newImage);
    const juce::Image& getImage() const noexcept { return image; }

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void renderScaledImage();

    juce::Image image;
    juce::Image scaledImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EQ713K_Panel)
};
