#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A lamp: an image rendered for its size and colour whenever it is laid out or re-coloured,
    and only copied while painting. */
class ButtonDiode : public juce::Component
{
public:
    ButtonDiode() = default;

    void paint (juce::Graphics& g) override;
    void resized() override = 0;

    /** Stores the colour and, once the lamp has a size, renders it again. A lamp without a size
        keeps its image; the colour shows from its next layout on. */
    void setDiodeColour (const juce::Colour& newColour);

    /** Called by lamps that take clicks; does nothing until the owner assigns it. */
    std::function<void()> onClick = [] {};

protected:
    juce::Colour colour;
    juce::Image image;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ButtonDiode)
};
