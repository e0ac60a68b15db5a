#pragma once

#include "widgets/HV_Switch_s500.h"

/** HI KCS ATTEN: three positions cycled by one button; "10" stands a little left of its lamp. The
    lit lamp is red. */
class AttenKcsSwitch : public HV_Switch_s500
{
public:
    AttenKcsSwitch();

protected:
    void layoutDiodes (float scale) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AttenKcsSwitch)
};
