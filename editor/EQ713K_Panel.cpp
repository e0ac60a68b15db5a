#include "editor/EQ713K_Panel.h"

EQ713K_Panel::EQ713K_Panel() = default;

void EQ713K_Panel::setImage (const juce::Image& newImage)
{
    image = newImage;
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

    scaledImage = juce::Image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (scaledImage);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (image, scaledImage.getBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
}
