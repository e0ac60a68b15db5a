#include "widgets/ButtonDarkDiode.h"

#include "widgets/HV_GuiHelper.h"

void ButtonDarkDiode::mouseDown (const juce::MouseEvent&)
{
    if (onClick)
        onClick();
}

void ButtonDarkDiode::resized()
{
    HV_GuiHelper::prepareOffDiodeImageEncoder (image, (int) ((float) getWidth() * 0.5f), juce::Colour (0xffb49614));
}
