#pragma once

/** The product's parameter and setting ids and their names. */
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

    static const char* const paramName[NUM_PARAMS];
    static const char* const naParamName[NUM_NA_PARAMS];

    /** Defaults in single precision (2/3 and 1/3 are the nearest floats). */
    static const float paramDefault[NUM_PARAMS];
};
