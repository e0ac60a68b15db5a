#pragma once

#include "widgets/ButtonDiode.h"

/** A lit lamp as wide as the component. It takes no clicks: they reach whatever lies below. */
class ButtonLightDiode : public ButtonDiode
{
public:
    ButtonLightDiode();

    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ButtonLightDiode)
};
