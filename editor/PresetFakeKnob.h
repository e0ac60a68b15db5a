#pragma once

#include "widgets/HV_Knob_s500.h"

/** The PRESET knob: looks like a knob and never turns. Dragging and the mouse wheel do nothing;
    a double-click runs onKnobDoubleClick. */
class PresetFakeKnob : public HV_Knob_s500
{
public:
    PresetFakeKnob();

    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseWheelMove (const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
    void mouseDoubleClick (const juce::MouseEvent& event) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetFakeKnob)
};
