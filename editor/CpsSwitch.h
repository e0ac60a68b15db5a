#pragma once

#include "widgets/HV_Switch_s500.h"

/** LO CPS: four positions stepped down and up by two buttons; "20", "30" and "60" stand a little
    left of their lamps. The lit lamp is red. */
class CpsSwitch : public HV_Switch_s500
{
public:
    CpsSwitch();

protected:
    void layoutDiodes (float scale) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CpsSwitch)
};
