#include "widgets/HV_Random.h"

#include <gtest/gtest.h>

namespace
{

constexpr juce::uint64 multiplier = 0x5DEECE66DULL;
constexpr juce::uint64 mask48 = 0xffffffffffffULL;

/** The multiplier's inverse modulo 2^48 (it is odd), found by Newton's iteration. */
juce::uint64 inverseOfMultiplier()
{
    juce::uint64 inverse = multiplier;
    for (int i = 0; i < 6; ++i)
        inverse *= 2 - multiplier * inverse;
    return inverse & mask48;
}

/** The state whose next step gives the wanted state. */
juce::int64 stateBefore (juce::uint64 wanted)
{
    return (juce::int64) (((wanted - 11) * inverseOfMultiplier()) & mask48);
}

} // namespace

TEST (HV_Random, NextFloatFollowsTheFrameworksGeneratorFromItsSeed)
{
    HV_Random::setSeedForTests (987654321);
    juce::Random reference (987654321);

    for (int i = 0; i < 1000; ++i)
    {
        const auto expected = (float) (juce::uint32) reference.nextInt() * (1.0f / 4294967296.0f);
        const auto value = HV_Random::getNextFloat();
        ASSERT_EQ (value, expected) << "draw " << i;
        ASSERT_GE (value, 0.0f);
        ASSERT_LE (value, 1.0f);
    }
}

TEST (HV_Random, RandomSignIsMinusThreeForANegativeOddSample)
{
    ASSERT_EQ (multiplier * inverseOfMultiplier() & mask48, 1u);

    struct Case
    {
        juce::int32 sample;
        int sign;
    };

    for (const auto [sample, sign] : { Case { -5, -3 }, Case { -4, -1 }, Case { 0, -1 }, Case { 6, -1 }, Case { 7, 1 } })
    {
        // A state whose bits 16..47 hold the sample.
        HV_Random::setRandomSignSeedForTests (stateBefore (((juce::uint64) (juce::uint32) sample << 16) | 0x1234));
        EXPECT_EQ (HV_Random::getRandomSign(), sign) << "sample " << sample;
    }
}

TEST (HV_Random, SeedingFromTheClocksGivesDifferentStatesEachTime)
{
    juce::int64 first = 1, second = 1;
    HV_Random::setSeedRandomly (first);
    HV_Random::setSeedRandomly (second);

    EXPECT_NE (first, 1);
    EXPECT_NE (first, second);
}
