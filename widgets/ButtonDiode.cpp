#include "widgets/ButtonDiode.h"

void ButtonDiode::paint (juce::Graphics& g)
{
    g.drawImageAt (image, 0, 0);
}

void ButtonDiode::setDiodeColour (const juce::Colour& newColour)
{
    colour = newColour;

    if (getWidth() > 0 && getHeight() > 0)
    {
        image = juce::Image (juce::Image::ARGB, 1, 1, true);
        resized();
    }
}
