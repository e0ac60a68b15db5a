#pragma once

#include "widgets/ButtonDiode.h"
#include "widgets/DiodeLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include "editor/StepSwitchRowGeometry.h"

#include <array>

/** The lamp row that the panel's four step switches share, placed by StepSwitchRowGeometry:
    the lamps in the switch, the position labels in the parent. */
struct StepSwitchLampRow
{
    /** Sizes and places the lit lamp, the position lamps and the position labels of a switch of
        the given scale (its height / 37.5), with the switch's nudges. */
    template <size_t numNudges>
    static void layout (const juce::Component& control, float scale, ButtonDiode& litLamp,
                        const juce::OwnedArray<ButtonDiode>& lamps, const juce::OwnedArray<DiodeLabel>& labels,
                        const std::array<float, numNudges>& nudges)
    {
        layout (control, scale, litLamp, lamps, labels, nudges.data(), numNudges);
    }

private:
    static void layout (const juce::Component& control, float scale, ButtonDiode& litLamp,
                        const juce::OwnedArray<ButtonDiode>& lamps, const juce::OwnedArray<DiodeLabel>& labels,
                        const float* nudges, size_t numNudges);
};
