#pragma once

#include "widgets/HV_Switch_s500.h"

/** HI BANDWIDTH: four positions cycled by one button, every label straight over its lamp. The lit
    lamp is red. */
class HiBWSwitch : public HV_Switch_s500
{
public:
    HiBWSwitch();

protected:
    void layoutDiodes (float scale) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HiBWSwitch)
};
