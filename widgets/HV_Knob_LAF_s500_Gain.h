#pragma once

#include "widgets/HV_Knob_LAF_s500.h"

/** The look of the gain knobs, which draw exactly like the other 500-series knobs. */
class HV_Knob_LAF_s500_Gain : public HV_Knob_LAF_s500
{
public:
    HV_Knob_LAF_s500_Gain() = default;

    void drawRullerDecorator (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                              float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Knob_LAF_s500_Gain)
};
