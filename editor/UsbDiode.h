#pragma once

#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/DiodeLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The USB connection lamp with its label "USB" above it. The owner shows the lit lamp while
    a unit is connected; the lamp keeps the kit's pale colour. The label lives in the parent and
    follows the control's visibility. It has no click behaviour. */
class UsbDiode : public juce::Component
{
public:
    UsbDiode();
    ~UsbDiode() override;

    /** The lit lamp, hidden until the owner shows it. */
    ButtonLightDiode& getLightDiode() noexcept { return litDiode; }

    void visibilityChanged() override;
    void parentHierarchyChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void moved() override;

private:
    void layout();

    ButtonDarkDiode unlitDiode;
    ButtonLightDiode litDiode;
    DiodeLabel label;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UsbDiode)
};
