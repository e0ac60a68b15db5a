#include "widgets/ButtonLightDiode.h"

#include "widgets/HV_GuiHelper.h"

ButtonLightDiode::ButtonLightDiode()
{
    colour = juce::Colour (0xffc8c8c8);
    setInterceptsMouseClicks (false, false);
}

void ButtonLightDiode::resized()
{
    HV_GuiHelper::prepareOnDiodeImage (image, (float) getWidth() * 0.5f, colour);
}
