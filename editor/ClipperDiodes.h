#pragma once

#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/DiodeLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** The two clip lamps, "1" and "2", with the name "CLIP" along the bottom. The owner shows a
    lit lamp when its channel clipped; a press on a lamp, lit or not, asks the owner to clear
    it. The labels live in the parent and follow the control's visibility. */
class ClipperDiodes : public juce::Component
{
public:
    ClipperDiodes();
    ~ClipperDiodes() override;

    /** A press on the left (channel 1) lamp; does nothing until the owner assigns it. */
    std::function<void()> onLeftDiodeClicked = [] {};
    /** A press on the right (channel 2) lamp; does nothing until the owner assigns it. */
    std::function<void()> onRightDiodeClicked = [] {};

    /** The lit lamps, hidden until the owner shows them. */
    ButtonLightDiode& getLeftLightDiode() noexcept { return leftLitDiode; }
    ButtonLightDiode& getRightLightDiode() noexcept { return rightLitDiode; }

    void mouseDown (const juce::MouseEvent& event) override;
    void visibilityChanged() override;
    void parentHierarchyChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void moved() override;

private:
    void layout();
    void forEachLabel (const std::function<void (juce::Label&)>& action);

    ButtonDarkDiode leftUnlitDiode, rightUnlitDiode;
    ButtonLightDiode leftLitDiode, rightLitDiode;
    DiodeLabel leftLabel, rightLabel;
    juce::Label nameLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ClipperDiodes)
};
