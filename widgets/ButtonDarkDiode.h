#pragma once

#include "widgets/ButtonDiode.h"

/** An unlit lamp that reports clicks through onClick. It always draws in its own amber,
    whatever colour it is given. */
class ButtonDarkDiode : public ButtonDiode
{
public:
    ButtonDarkDiode() = default;

    void mouseDown (const juce::MouseEvent& event) override;
    void resized() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ButtonDarkDiode)
};
