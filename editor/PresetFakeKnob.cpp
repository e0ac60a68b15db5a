#include "editor/PresetFakeKnob.h"

PresetFakeKnob::PresetFakeKnob() : HV_Knob_s500 (arcLeftLabelCentred, false)
{
}

void PresetFakeKnob::mouseDrag (const juce::MouseEvent&)
{
}

void PresetFakeKnob::mouseWheelMove (const juce::MouseEvent&, const juce::MouseWheelDetails&)
{
}

void PresetFakeKnob::mouseDoubleClick (const juce::MouseEvent&)
{
    if (onKnobDoubleClick)
        onKnobDoubleClick();
}
