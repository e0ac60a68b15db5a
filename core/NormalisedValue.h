#pragma once

/** A parameter's value as the store keeps it: a float from 0 to 1. */
struct NormalisedValue
{
    /** The nearest value from 0 to 1; a NaN counts as 0. For values that come from outside
        the store (the unit's reports, values converted for the unit), so that no NaN and no
        value out of range goes any further. */
    static float clamped (float value) noexcept;
};
