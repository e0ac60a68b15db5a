#pragma once

#include <juce_core/juce_core.h>

/** The random sources of the drawing code.

    Two sources, not interchangeable: the kit's noise sequence, shared by everything that draws
    noise, reached through nextSharedRand() (a texture takes one value of it as the seed of a
    Noise of its own, so a texture costs one step of the sequence however many pixels it has);
    and a generator of uniform floats, seeded once from the clocks on first use, for band widths
    and rotations. The noise sequence is the kit's own, not the C library's rand(), which a
    host shares with everything in its process and which is not thread-safe: it steps
    atomically. The float generator is meant for the message thread; only its first use is
    guarded.
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

    /** A fast generator of per-pixel noise for one texture. */
    class Noise
    {
    public:
        explicit Noise (juce::uint32 seed) noexcept : state (seed != 0 ? seed : 0x9e3779b9u) {}

        /** The next 32 random bits (xorshift). */
        juce::uint32 next() noexcept
        {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            return state;
        }

        /** 0 .. limit - 1; limit must be above 0. */
        int below (int limit) noexcept { return (int) (((juce::uint64) next() * (juce::uint64) limit) >> 32); }

    private:
        juce::uint32 state;
    };

    /** A Noise seeded with the next value of the shared noise sequence. */
    static Noise makeNoise();

    /** The next value (0 .. 2^31 - 1) of the kit's shared noise sequence. */
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
