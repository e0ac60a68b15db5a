#pragma once

#include <juce_core/juce_core.h>

#include <array>

/** Where the panel's four step switches put their lamps and position labels, in a switch's own
    coordinates: one row of lamps centred in the switch's width near its top, each label centred
    over its lamp on the switch's top edge. Plain arithmetic, no drawing: the switches lay out
    from it and the artwork's check picture draws from it.

    Single labels are nudged left so that their digits, not their boxes, sit over the lamp:
    label i moves left by R(nudge[i] x scale) pixels. */
namespace StepSwitchRowGeometry
{

/** The switch's scale is its height over this. */
constexpr float designHeight = 37.5f;

struct Row
{
    int lampEdge;
    int labelHeight;
    float labelFontHeight;
    int firstX, stepX;
    int lampCentreY;
    int labelCentreY;

    int lampX (int position) const noexcept { return firstX + position * stepX; }
};

/** The row of a switch of the given width and scale with that many positions. */
inline Row rowFor (int width, float scale, int positions)
{
    const auto step = 1.1f * 5.5f * scale;
    const auto labelHeight = juce::roundToInt (7.0f * scale);

    return { juce::roundToInt (8.333334f * scale),
             labelHeight,
             0.65f * (float) labelHeight,
             juce::roundToInt (((float) width - (float) (positions - 1) * step) * 0.5f),
             juce::roundToInt (step),
             juce::roundToInt (5.6f * scale),
             juce::roundToInt (5.6f * scale) - juce::roundToInt (5.5f * scale) };
}

// The nudges, in design units, by position.
constexpr std::array<float, 4> cpsNudges { 1.0f, 1.0f, 1.0f, 0.0f };             // "20" "30" "60" | "100"
constexpr std::array<float, 7> boostKcsNudges { 0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 0.5f, 0.0f }; // "6" "10" "12"
constexpr std::array<float, 4> hiBwNudges { 0.0f, 0.0f, 0.0f, 0.0f };
constexpr std::array<float, 3> attenKcsNudges { 0.0f, 1.0f, 0.0f };              // "10"

/** The nudge of a position in pixels; positions past the list are not nudged. */
inline int nudgeOf (const float* nudges, size_t numNudges, int position, float scale)
{
    return position >= 0 && (size_t) position < numNudges ? juce::roundToInt (nudges[(size_t) position] * scale) : 0;
}

template <size_t numNudges>
int nudgeOf (const std::array<float, numNudges>& nudges, int position, float scale)
{
    return nudgeOf (nudges.data(), numNudges, position, scale);
}

} // namespace StepSwitchRowGeometry
