#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A text label that reports clicks through onClick. */
class DiodeLabel : public juce::Label
{
public:
    DiodeLabel();

    void mouseDown (const juce::MouseEvent& event) override;

    /** Does nothing until the owner assigns it. */
    std::function<void()> onClick = [] {};

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DiodeLabel)
};
