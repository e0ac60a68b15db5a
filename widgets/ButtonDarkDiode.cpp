#include "widgets/ButtonDarkDiode.h"

#include "widgets/HV_GuiHelper.h"

void ButtonDarkDiode::mouseDown (const juce::MouseEvent&)
{
    if (onClick)
        onClick();
}

void ButtonDarkDiode::resized()
{
    image = HV_GuiHelper::sharedOffDiodeImage ((int) ((float) getWidth() * 0.5f), juce::Colour (0xffb49614));
}
