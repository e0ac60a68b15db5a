#pragma once

#include <array>
#include <cstddef>

/** The product's parameter and setting ids, and their names and defaults. */
struct ParamData
{
    /** Automatable ids; the id is also the host's parameter index. Ids 1..9 are channel 1
        (both channels in "LINK"), id i + 9 is the same control of channel 2. */
    enum ParamEnum
    {
        CHANNEL = 0,
        ENGAGE_1,
        LO_BOOST_1,
        LO_ATTEN_1,
        LO_CPS_1,
        HI_BOOST_1,
        HI_ATTEN_1,
        HI_BANDWIDTH_1,
        HI_KCS_BOOST_1,
        HI_KCS_ATTEN_1,
        ENGAGE_2,
        LO_BOOST_2,
        LO_ATTEN_2,
        LO_CPS_2,
        HI_BOOST_2,
        HI_ATTEN_2,
        HI_BANDWIDTH_2,
        HI_KCS_BOOST_2,
        HI_KCS_ATTEN_2,
        NUM_PARAMS
    };

    /** Non-automatable setting ids. */
    enum NaParamEnum
    {
        IS_CONNECTED = 0,
        CONNECTED_DEV_SN,
        SHOULD_BE_CONNECTED,
        SELECTED_CHANNEL,
        CLIPPER_DIODE_STATE_L,
        CLIPPER_DIODE_STATE_R,
        MOUSE_OVER_HI_ATTEN_KNOB,
        MOUSE_OVER_HI_BOOST_KNOB,
        MOUSE_OVER_LO_ATTEN_KNOB,
        MOUSE_OVER_LO_BOOST_KNOB,
        DOUBLE_WINDOW,
        NUM_NA_PARAMS
    };

    /** Ids of one channel's controls follow each other; the second channel's are this far on. */
    static constexpr int channelStride = 9;

    /** Values by id, indexed with the int an id is held in. */
    template <typename T, int size>
    struct ById
    {
        std::array<T, (std::size_t) size> values;

        constexpr const T& operator[] (int id) const noexcept { return values[(std::size_t) id]; }
        constexpr const T* begin() const noexcept { return values.data(); }
        constexpr const T* end() const noexcept { return values.data() + size; }
    };

    // From the product table (ProductTable).
    static const ById<const char*, NUM_PARAMS> paramName;
    static const ById<const char*, NUM_NA_PARAMS> naParamName;
    static const ById<float, NUM_PARAMS> paramDefault;
};
