#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A knob's name label, shown in the knob's parent.

    An owner may link it to a button and make it clickable: a click on the label then toggles
    the button, and the label lightens while pressed. The knob does neither, so its label only
    shows the name.
*/
class SliderDescLabel : public juce::Label
{
public:
    SliderDescLabel();

    void mouseEnter (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    /** The text colour at rest; pressed, it shows at alpha 0xF2. */
    juce::Colour baseColour { 0x00000000 };
    bool isHovered = false;
    /** The button a click toggles. Held weakly: the button may go before the label. */
    juce::Component::SafePointer<juce::Button> linkedButton;
    bool isClickable = false;
    /** The button's toggle state before the last click toggled it. */
    bool lastToggleState = false;

private:
    void showColour (juce::Colour colour);
    juce::Colour pressedColour() const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SliderDescLabel)
};
