#pragma once

#include "widgets/ButtonDiode.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <functional>
#include <memory>

/** The base of a labelled panel control: a name label (with an optional second line) and one
    lit lamp.

    The name labels are satellites: they live in the control's parent, laid over the top of the
    control's area, are added to the parent whenever the control gets one, and follow the
    control's visibility. Name a control before adding it to its parent: a second line made
    later reaches the parent only at the parent's next hierarchy change.

    Subclasses supply the buttons and their reaction to clicks, and the layout.
*/
class HV_ButtonComponent_s500 : public juce::Component
{
public:
    HV_ButtonComponent_s500();
    ~HV_ButtonComponent_s500() override;

    /** Run after the control's satellites have been added to its new parent. */
    std::function<void()> onParentHierarchyChanged;
    /** Run after the control's satellites have followed its visibility. */
    std::function<void()> onVisibilityChanged;

    /** Shows the name; a line break splits it over two labels: the text before the first break
        goes on the first line, the rest on the second. A name without a line break drops an
        earlier second line. */
    void setButtonName (const juce::String& name);

    void visibilityChanged() override;
    void parentHierarchyChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void moved() override;

    /** Renders the cap buttons' images for the given edge without changing their bounds. */
    virtual void renderDefaultSize (const int& edge) = 0;
    /** Colours the position labels. */
    virtual void setDiodeLabelColour (const juce::Colour& colour) = 0;
    /** Reacts to a click of one of the control's cap buttons. */
    virtual void toggleStateChanged (juce::Button& button) = 0;

protected:
    /** Lays out buttons, lamps and labels; run on every change of the control's bounds. */
    virtual void layoutAllComponents() = 0;

    /** The lit lamps; the kit's controls have exactly one, made here as a hidden child. */
    juce::OwnedArray<ButtonDiode> lightDiodes;
    juce::Label nameLabel;
    /** The name's second line; absent until a name with a line break is set. */
    std::unique_ptr<juce::Label> secondNameLabel;
    /** The index of the cap button clicked last. */
    std::atomic<int> lastPressedButton { 0 };
    /** Applied to the name labels by setButtonName. */
    juce::Colour nameColour;
    juce::Justification nameJustification { juce::Justification::centred };

private:
    void forEachNameLabel (const std::function<void (juce::Label&)>& action);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_ButtonComponent_s500)
};
