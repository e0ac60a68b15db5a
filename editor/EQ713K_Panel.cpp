#include "editor/EQ713K_Panel.h"

#include "widgets/HvSharedArt.h"

namespace
{

juce::Image scaledCopy (const juce::Image& picture, int width, int height)
{
    juce::Image scaled (juce::Image::RGB, width, height, true);
    juce::Graphics g (scaled);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (picture, scaled.getBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    return scaled;
}

} // namespace

EQ713K_Panel::EQ713K_Panel() = default;

void EQ713K_Panel::setImage (const juce::Image& newImage, const juce::String& newShareKey)
{
    image = newImage;
    shareKey = newShareKey;
    renderScaledImage();
    repaint();
}

void EQ713K_Panel::resized()
{
    renderScaledImage();
}

void EQ713K_Panel::paint (juce::Graphics& g)
{
    if (scaledImage.isValid())
        g.drawImage (scaledImage, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
}

void EQ713K_Panel::renderScaledImage()
{
    // At the screen's pixel scale, so that a high-resolution screen stays sharp and painting is
    // a plain copy of pixels.
    const auto pixelScale = juce::jmax (1.0f, juce::Component::getApproximateScaleFactorForComponent (this));
    const auto width = juce::roundToInt ((float) getWidth() * pixelScale);
    const auto height = juce::roundToInt ((float) getHeight() * pixelScale);

    if (! image.isValid() || width < 1 || height < 1)
    {
        scaledImage = {};
        return;
    }

    if (shareKey.isEmpty())
    {
        scaledImage = scaledCopy (image, width, height);
        return;
    }

    const auto& picture = image;
    scaledImage = HvSharedArt::get().image (shareKey + "/" + juce::String (width) + "x" + juce::String (height),
                                            [&picture, width, height] { return scaledCopy (picture, width, height); });
}
