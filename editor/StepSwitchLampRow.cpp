#include "editor/StepSwitchLampRow.h"

#include <cmath>

void StepSwitchLampRow::layout (const juce::Component& control, float scale, ButtonDiode& litLamp,
                                const juce::OwnedArray<ButtonDiode>& lamps, const juce::OwnedArray<DiodeLabel>& labels,
                                const float* nudges, size_t numNudges)
{
    const auto positions = lamps.size();
    const auto row = StepSwitchRowGeometry::rowFor (control.getWidth(), scale, positions);

    litLamp.setSize (row.lampEdge, row.lampEdge); // the switch centres it on the current position afterwards

    const juce::Font labelFont (row.labelFontHeight, juce::Font::bold);

    for (int i = 0; i < positions; ++i)
    {
        const auto x = row.lampX (i);

        lamps[i]->setSize (row.lampEdge, row.lampEdge);
        lamps[i]->setCentrePosition (x, row.lampCentreY);

        auto* label = labels[i];
        if (label == nullptr || label->getText().isEmpty())
            continue;

        label->setSize ((int) std::ceil (1.25f * labelFont.getStringWidthFloat (label->getText())), row.labelHeight);
        label->setBorderSize (juce::BorderSize<int> (0));
        label->setCentrePosition (control.getX() + x - StepSwitchRowGeometry::nudgeOf (nudges, numNudges, i, scale), control.getY() + row.labelCentreY);
        label->setFont (labelFont);
    }
}
