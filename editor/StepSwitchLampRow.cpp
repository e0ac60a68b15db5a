#include "editor/StepSwitchLampRow.h"

#include <cmath>
#include <vector>

void StepSwitchLampRow::layout (const juce::Component& control, float scale, ButtonDiode& litLamp,
                                const juce::OwnedArray<ButtonDiode>& lamps, const juce::OwnedArray<DiodeLabel>& labels,
                                std::initializer_list<float> nudges)
{
    const std::vector<float> nudge (nudges);
    const auto nudgeOf = [&nudge, scale] (size_t i) { return i < nudge.size() ? juce::roundToInt (nudge[i] * scale) : 0; };

    const auto lampEdge = juce::roundToInt (8.333334f * scale);
    litLamp.setSize (lampEdge, lampEdge); // the switch centres it on the current position afterwards

    const auto labelHeight = juce::roundToInt (7.0f * scale);
    const juce::Font labelFont (0.65f * (float) labelHeight, juce::Font::bold);

    const auto positions = lamps.size();
    const auto step = 1.1f * 5.5f * scale;
    const auto firstX = juce::roundToInt (((float) control.getWidth() - (float) (positions - 1) * step) * 0.5f);
    const auto stepX = juce::roundToInt (step);
    const auto lampCentreY = juce::roundToInt (5.6f * scale);
    const auto labelCentreY = juce::roundToInt (5.6f * scale) - juce::roundToInt (5.5f * scale);

    for (int i = 0; i < positions; ++i)
    {
        const auto x = firstX + i * stepX;

        lamps[i]->setSize (lampEdge, lampEdge);
        lamps[i]->setCentrePosition (x, lampCentreY);

        auto* label = labels[i];
        if (label == nullptr || label->getText().isEmpty())
            continue;

        label->setSize ((int) std::ceil (1.25f * labelFont.getStringWidthFloat (label->getText())), labelHeight);
        label->setBorderSize (juce::BorderSize<int> (0));
        label->setCentrePosition (control.getX() + x - nudgeOf ((size_t) i), control.getY() + labelCentreY);
        label->setFont (labelFont);
    }
}
