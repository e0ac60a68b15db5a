#include "core/NormalisedValue.h"

#include <juce_core/juce_core.h>

#include <cmath>

float NormalisedValue::clamped (float value) noexcept
{
    return std::isnan (value) ? 0.0f : juce::jlimit (0.0f, 1.0f, value);
}
