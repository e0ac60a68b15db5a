#pragma once

#include "widgets/HV_Switch_s500.h"

/** HI KCS BOOST: seven positions stepped down and up by two buttons; "6", "10" and "12" stand a
    little left of their lamps. The lit lamp is red. */
class BoostKcsSwitch : public HV_Switch_s500
{
public:
    BoostKcsSwitch();

protected:
    void layoutDiodes (float scale) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BoostKcsSwitch)
};
