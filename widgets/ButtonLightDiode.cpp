#include "widgets/ButtonLightDiode.h"

#include "widgets/HV_GuiHelper.h"

ButtonLightDiode::ButtonLightDiode()
{
    colour = juce::Colour (0xffc8c8c8);
    setInterceptsMouseClicks (false, false);
}

void ButtonLightDiode::resized()
{
    image = HV_GuiHelper::sharedOnDiodeImage ((float) getWidth() * 0.5f, colour);
}
