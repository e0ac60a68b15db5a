#pragma once

#include "widgets/HvDefaultLookAndFeel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <utility>

namespace testing_support
{

/** A control on a visible panel, as a channel view holds it, with the panel's Lato faces
    installed as the default for as long as it lives (so label fonts are those of the product).

    Set the control up (name, texts) first, then mount it: mounting adds it to the panel and
    gives it its bounds, which lays it out. The panel is large enough for satellites that stand
    beside the control. */
template <typename Control>
struct ControlOnPanel
{
    template <typename... Args>
    explicit ControlOnPanel (Args&&... args) : control (std::forward<Args> (args)...)
    {
        panel.setBounds (0, 0, 400, 300);
        panel.setVisible (true);
    }

    Control& mount (juce::Rectangle<int> bounds)
    {
        panel.addAndMakeVisible (control);
        control.setBounds (bounds);
        return control;
    }

    /** The point at the centre of a component, in the panel's coordinates. */
    juce::Point<float> centreOf (juce::Component& component)
    {
        return panel.getLocalPoint (&component, component.getLocalBounds().getCentre().toFloat());
    }

    /** The panel's child label showing the text, or nullptr. */
    juce::Label* labelWithText (const juce::String& text)
    {
        for (auto* child : panel.getChildren())
            if (auto* label = dynamic_cast<juce::Label*> (child); label != nullptr && label->getText() == text)
                return label;
        return nullptr;
    }

    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
    juce::Component panel;
    Control control;
};

} // namespace testing_support
