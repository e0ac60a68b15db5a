#pragma once

#include <juce_core/juce_core.h>

/** Number formatting that ignores the process locale: a host may switch the C or C++ locale
    to one with a decimal comma, and value texts and stored numbers must not follow it.
    (The framework's number-to-string conversion follows the global C++ locale.) */
struct NumberText
{
    /** Exactly the given number of decimals, as printf's "%.Nf" in the C locale. */
    static juce::String fixed (double value, int decimals);

    /** At most 6 significant digits, no trailing zeros, exponent form for small and large
        values: the default form of a double in a standard stream in the C locale. */
    static juce::String general (double value);
};
