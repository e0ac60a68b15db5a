#include "widgets/HV_Knob_LAF_s500_Gain.h"

void HV_Knob_LAF_s500_Gain::drawRullerDecorator (juce::Graphics& g, int x, int y, int width, int height,
                                                 float sliderPosProportional, float rotaryStartAngle,
                                                 float rotaryEndAngle, juce::Slider& slider)
{
    HV_Knob_LAF_s500::drawRullerDecorator (g, x, y, width, height, sliderPosProportional, rotaryStartAngle,
                                           rotaryEndAngle, slider);
}
