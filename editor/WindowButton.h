#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The icon button in a panel's top-right corner that switches between the single and the
    double window. Off (single window) it shows a window shape with a light corner; on (double
    window) a circled cross that closes the second panel. It is drawn for a square button. */
class WindowButton : public juce::Button
{
public:
    WindowButton();

    void resized() override;

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    void paintCloseSign (juce::Graphics& g, juce::Colour colour) const;

    /** The button's width in units of the design width 40. */
    float scale = 1.0f;
    juce::Path windowPath, cornerPath;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowButton)
};
