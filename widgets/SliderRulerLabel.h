#pragma once

#include "widgets/SliderRulerHelper.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** An invisible click area over one mark of a knob's scale; the knob's look-and-feel paints the
    mark itself and places the area over it. */
class SliderRulerLabel : public juce::Component,
                         public SliderRulerHelper
{
public:
    SliderRulerLabel() = default;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    /** The mark's text; "." stands for a dot. */
    juce::String text;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderRulerLabel)
};
