#pragma once

#include <functional>

/** The plug-in instance's end of a hardware connection.

    For now it holds the converters between normalised parameter values and the unit's
    values, one pair per kind of control. The device listener, the hardware-parameter
    objects it builds and the routing of the unit's reports to them belong here too.
*/
class Eq713kMidiBridge
{
public:
    /** Selects a converter pair. LO CPS and HI KCS ATTEN share hardware number 13 but not
        their bits, so the selector names the control, not the number. */
    enum Converter
    {
        engageConverter = 0,
        gainConverter,        // LO BOOST, LO ATTEN, HI BOOST, HI ATTEN: 0..250
        hiBandwidthConverter, // 0, 85, 172, 255
        hiKcsBoostConverter,  // one bit of 64..1 per position
        loCpsConverter,       // bits 0..3 of number 13
        hiKcsAttenConverter   // bits 4..6 of number 13
    };

    using FloatToInt = std::function<int (float)>;
    using IntToFloat = std::function<float (int)>;

    /** Normalised value to the value sent. A value outside 0..1 is sent as the nearest end
        (a NaN as 0), never wrapped into another position. An unknown selector gives 0. */
    static FloatToInt getLambdaMidiFloatToInt (int converter);

    /** Value reported by the unit to the normalised value, always within 0..1. Each switch
        converter reads only its own bits. An unknown selector gives 0. */
    static IntToFloat getLambdaMidiIntToFloat (int converter);
};
