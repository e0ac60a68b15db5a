#include "core/ParamData.h"

const char* const ParamData::paramName[NUM_PARAMS] = {
    "CHANNEL",
    "ENGAGE 1/STEREO",
    "LO BOOST 1/STEREO",
    "LO ATTEN 1/STEREO",
    "LO CPS 1/STEREO",
    "HI BOOST 1/STEREO",
    "HI ATTEN 1/STEREO",
    "HI BANDWIDTH 1/STEREO",
    "HI KCS BOOST 1/STEREO",
    "HI KCS ATTEN 1/STEREO",
    "ENGAGE 2",
    "LO BOOST 2",
    "LO ATTEN 2",
    "LO CPS 2",
    "HI BOOST 2",
    "HI ATTEN 2",
    "HI BANDWIDTH 2",
    "HI KCS BOOST 2",
    "HI KCS ATTEN 2",
};

const char* const ParamData::naParamName[NUM_NA_PARAMS] = {
    "IS CONNECTED",
    "CONNECTED DEV SN",
    "SHOULD BE CONNECTED",
    "SELECTED CHANNEL",
    "CLIPPER DIODE STATE L",
    "CLIPPER DIODE STATE R",
    "MOUSE OVER HI ATTEN KNOB",
    "MOUSE OVER HI BOOST KNOB",
    "MOUSE OVER LO ATTEN KNOB",
    "MOUSE OVER LO BOOST KNOB",
    "DOUBLE WINDOW",
};

const float ParamData::paramDefault[NUM_PARAMS] = {
    0.0f,                                                       // CHANNEL: "LINK"
    1.0f, 0.0f, 0.0f, 2.0f / 3.0f, 0.0f, 0.0f, 1.0f / 3.0f, 0.5f, 0.0f, // channel 1
    1.0f, 0.0f, 0.0f, 2.0f / 3.0f, 0.0f, 0.0f, 1.0f / 3.0f, 0.5f, 0.0f, // channel 2
};
