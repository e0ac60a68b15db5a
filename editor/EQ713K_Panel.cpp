#include "editor/EQ713K_Panel.h"

EQ713K_Panel::EQ713K_Panel() = default;

void EQ713K_Panel::setImage (const juce::Image& newImage)
{
    image = newImage;
    repaint();
}

void EQ713K_Panel::paint (juce::Graphics& g)
{
    if (image.isValid())
        g.drawImage (image, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
}
