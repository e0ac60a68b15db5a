#pragma once

#include <juce_core/juce_core.h>

/** The random sources of the drawing code.

    Two sources, not interchangeable: the C library's rand() sequence, never seeded here and
    shared by everything that draws noise, reached through nextSharedRand(); and a generator of
    uniform floats of our own, seeded once from the clocks on first use. Both are meant for the
    message thread; only the first use of the generator is guarded.
*/
class HV_Random
{
public:
    HV_Random() = delete;

    /** A float in [0, 1] from the process-wide generator, which is created and seeded from the
        clocks on the first call. */
    static float getNextFloat();

    /** -3, -1 or +1, from a generator of its own (seeded from the clocks on first use). */
    static int getRandomSign();

    /** Mixes clock readings into the generator state. */
    static void setSeedRandomly (juce::int64& state);

    /** The next value of the C library's rand(): all per-pixel noise of the kit comes from here. */
    static int nextSharedRand();

    /** Reproducible sequences for tests; the product never calls these. */
    static void setSeedForTests (juce::int64 seed);
    static void setRandomSignSeedForTests (juce::int64 seed);
    static void seedSharedRandForTests (unsigned int seed);

private:
    /** One step of the 48-bit generator: state = (state * 0x5DEECE66D + 11) mod 2^48; returns the
        32 bits above the lowest 16. */
    static juce::uint32 advance (juce::int64& state);
};
