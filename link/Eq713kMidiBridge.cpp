#include "link/Eq713kMidiBridge.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace
{

/** Rounds halves to even: 62.5 gives 62. */
int rounded (float x) noexcept
{
    return juce::roundToInt (x);
}

float withinUnitRange (float v) noexcept
{
    return std::isnan (v) ? 0.0f : juce::jlimit (0.0f, 1.0f, v);
}

int engageToInt (float v) { return v > 0.5f ? 64 : 0; }

int gainToInt (float v) { return rounded (250.0f * v); }

int hiBandwidthToInt (float v)
{
    switch (rounded (3.0f * v) - 1)
    {
        case 0:  return 85;
        case 1:  return 172;
        case 2:  return 255;
        default: return 0;
    }
}

int hiKcsBoostToInt (float v)
{
    const auto k = rounded (6.0f * v);
    return juce::isPositiveAndBelow (k, 6) ? (64 >> k) : 1;
}

int loCpsToInt (float v)
{
    const auto k = rounded (3.0f * v);
    return juce::isPositiveAndBelow (k, 3) ? (8 >> k) : 1;
}

int hiKcsAttenToInt (float v)
{
    switch (rounded (v + v))
    {
        case 0:  return 64;
        case 1:  return 32;
        default: return 16;
    }
}

float engageToFloat (int n) { return (n & 64) != 0 ? 1.0f : 0.0f; }

// The wire carries up to 255 (and more) where the controls end at 250.
float gainToFloat (int n) { return withinUnitRange ((float) n / 250.0f); }

float hiBandwidthToFloat (int n)
{
    switch (n)
    {
        case 0:   return 0.0f;
        case 85:  return 1.0f / 3.0f;
        case 172: return 2.0f / 3.0f;
        default:  return 1.0f;
    }
}

float hiKcsBoostToFloat (int n)
{
    for (int position = 0; position < 6; ++position)
        if ((n & (64 >> position)) != 0)
            return (float) position / 6.0f;

    return 1.0f;
}

float loCpsToFloat (int n)
{
    if ((n & 8) != 0) return 0.0f;
    if ((n & 4) != 0) return 1.0f / 3.0f;
    if ((n & 2) != 0) return 2.0f / 3.0f;
    return 1.0f;
}

float hiKcsAttenToFloat (int n)
{
    if ((n & 16) != 0) return 1.0f;
    if ((n & 32) != 0) return 0.5f;
    return 0.0f;
}

} // namespace

Eq713kMidiBridge::FloatToInt Eq713kMidiBridge::getLambdaMidiFloatToInt (int converter)
{
    int (*toInt) (float) = nullptr;

    switch (converter)
    {
        case engageConverter:      toInt = engageToInt; break;
        case gainConverter:        toInt = gainToInt; break;
        case hiBandwidthConverter: toInt = hiBandwidthToInt; break;
        case hiKcsBoostConverter:  toInt = hiKcsBoostToInt; break;
        case loCpsConverter:       toInt = loCpsToInt; break;
        case hiKcsAttenConverter:  toInt = hiKcsAttenToInt; break;
        default:                   return [] (float) { return 0; };
    }

    return [toInt] (float v) { return toInt (withinUnitRange (v)); };
}

Eq713kMidiBridge::IntToFloat Eq713kMidiBridge::getLambdaMidiIntToFloat (int converter)
{
    switch (converter)
    {
        case engageConverter:      return engageToFloat;
        case gainConverter:        return gainToFloat;
        case hiBandwidthConverter: return hiBandwidthToFloat;
        case hiKcsBoostConverter:  return hiKcsBoostToFloat;
        case loCpsConverter:       return loCpsToFloat;
        case hiKcsAttenConverter:  return hiKcsAttenToFloat;
        default:                   return [] (int) { return 0.0f; };
    }
}
