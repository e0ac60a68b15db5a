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

void EQ713K_Panel::setImage (const juce::Image& newImage)
{
    image = newImage;
    shareKey = {};
    sharedPicture = nullptr;
    readyMadeCopy = nullptr;
    renderScaledImage();
    repaint();
}

void EQ713K_Panel::setSharedImage (const juce::String& newShareKey, std::function<juce::Image()> picture,
                                   std::function<juce::Image (int, int)> readyMade)
{
    image = {};
    shareKey = newShareKey;
    sharedPicture = std::move (picture);
    readyMadeCopy = std::move (readyMade);
    renderScaledImage();
    repaint();
}

juce::Image EQ713K_Panel::getImage() const
{
    return sharedPicture != nullptr ? sharedPicture() : image;
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
    scaledImage = {};

    if (width < 1 || height < 1)
        return;

    if (sharedPicture == nullptr)
    {
        if (image.isValid())
            scaledImage = scaledCopy (image, width, height);
        return;
    }

    const auto key = shareKey + "/" + juce::String (width) + "x" + juce::String (height);
    scaledImage = HvSharedArt::get().image (key, [this, width, height]
    {
        if (readyMadeCopy != nullptr)
            if (auto copy = readyMadeCopy (width, height); copy.isValid())
                return copy;

        const auto picture = sharedPicture();
        return picture.isValid() ? scaledCopy (picture, width, height) : juce::Image();
    });
}
