#include "widgets/HV_Random.h"

#include <atomic>

namespace
{

juce::int64 makeClockSeededState()
{
    juce::int64 state = 1;
    HV_Random::setSeedRandomly (state);
    return state;
}

// Each generator is created on first use; the static initialisation guards concurrent first use.
juce::int64& floatGeneratorState()
{
    static juce::int64 state = makeClockSeededState();
    return state;
}

juce::int64& signGeneratorState()
{
    static juce::int64 state = makeClockSeededState();
    return state;
}

/** The position in the shared noise sequence; unseeded, it starts where a fresh process does. */
std::atomic<juce::uint64> noisePosition { 0 };

/** splitmix64's step and mix: each position gives a value independent of its neighbours. */
juce::uint64 noiseAt (juce::uint64 position) noexcept
{
    auto z = position + 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

} // namespace

juce::uint32 HV_Random::advance (juce::int64& state)
{
    state = (juce::int64) (((juce::uint64) state * 0x5DEECE66DULL + 11) & 0xffffffffffffULL);
    return (juce::uint32) (state >> 16);
}

float HV_Random::getNextFloat()
{
    // Single-precision rounding can give exactly 1.0 for the largest draws.
    return (float) advance (floatGeneratorState()) * (1.0f / 4294967296.0f);
}

int HV_Random::getRandomSign()
{
    // The remainder keeps the sample's sign, so a negative odd sample gives -3.
    const auto sample = (juce::int32) advance (signGeneratorState());
    return (sample % 2) * 2 - 1;
}

void HV_Random::setSeedRandomly (juce::int64& state)
{
    static std::atomic<juce::int64> globalSeed { 0 };

    const auto combine = [&state] (juce::int64 value)
    {
        const auto high = (juce::uint64) advance (state);
        const auto low = (juce::uint64) advance (state);
        state ^= (juce::int64) ((high << 32) | low) ^ value;
    };

    combine (globalSeed.load() ^ (juce::int64) (juce::pointer_sized_int) &state);
    combine ((juce::int64) juce::Time::getMillisecondCounter());
    combine (juce::Time::getHighResolutionTicks());
    combine (juce::Time::getHighResolutionTicksPerSecond());
    combine (juce::Time::currentTimeMillis());
    globalSeed ^= state;
}

int HV_Random::nextSharedRand()
{
    const auto position = noisePosition.fetch_add (0x9e3779b97f4a7c15ULL);
    return (int) (noiseAt (position) >> 33);
}

HV_Random::Noise HV_Random::makeNoise()
{
    return Noise ((juce::uint32) nextSharedRand() * 2654435761u + 1u);
}

void HV_Random::setSeedForTests (juce::int64 seed)
{
    floatGeneratorState() = seed;
}

void HV_Random::setRandomSignSeedForTests (juce::int64 seed)
{
    signGeneratorState() = seed;
}

void HV_Random::seedSharedRandForTests (unsigned int seed)
{
    noisePosition = (juce::uint64) seed * 0x9e3779b97f4a7c15ULL;
}
