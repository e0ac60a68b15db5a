#pragma once

#include "widgets/EQ864_ButtonComp.h"

/** ENGAGE: the cap button on the left, its red lamp to the right and the black name, set
    top-left, beside the lamp. */
class MainEngageButton : public EQ864_ButtonComp
{
public:
    MainEngageButton();

protected:
    void layoutAllComponents() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainEngageButton)
};
