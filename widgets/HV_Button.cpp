#include "widgets/HV_Button.h"

HV_Button::HV_Button (const juce::String& buttonName) : juce::Button (buttonName)
{
}

void HV_Button::resized()
{
    size = (float) juce::jmax (getWidth(), getHeight());
    halfSize = size / 2.0f;
    prepareButtonImage();
}
