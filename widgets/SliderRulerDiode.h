#pragma once

#include "widgets/SliderRulerHelper.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** An invisible click area over one lamp of a knob's lamp ring; the knob's look-and-feel paints
    the lamp itself and places the area over it. */
class SliderRulerDiode : public juce::Component,
                         public SliderRulerHelper
{
public:
    SliderRulerDiode() = default;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderRulerDiode)
};
