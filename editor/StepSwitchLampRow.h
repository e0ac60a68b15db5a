#pragma once

#include "widgets/ButtonDiode.h"
#include "widgets/DiodeLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

/** The lamp row that the panel's four step switches share: one row of lamps centred in the
    switch's width near its top, each position label standing over its lamp, centred on the
    switch's top edge, in the parent.

    Single labels can be nudged left so that their digits, not their boxes, sit over the lamp:
    label i moves left by R(nudge[i] x scale) pixels. */
struct StepSwitchLampRow
{
    /** Sizes and places the lit lamp, the position lamps and the position labels of a switch of
        the given scale (its height / 37.5). Missing nudges count as 0. */
    static void layout (const juce::Component& control, float scale, ButtonDiode& litLamp,
                        const juce::OwnedArray<ButtonDiode>& lamps, const juce::OwnedArray<DiodeLabel>& labels,
                        std::initializer_list<float> nudges);
};
