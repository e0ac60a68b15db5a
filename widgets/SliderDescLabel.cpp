#include "widgets/SliderDescLabel.h"

SliderDescLabel::SliderDescLabel() : juce::Label ({}, {})
{
}

void SliderDescLabel::showColour (juce::Colour colour)
{
    setColour (juce::Label::textColourId, colour);
}

juce::Colour SliderDescLabel::pressedColour() const
{
    return baseColour.withAlpha ((juce::uint8) 0xf2);
}

void SliderDescLabel::mouseEnter (const juce::MouseEvent&)
{
    if (linkedButton == nullptr)
        return;

    isHovered = true;
    showColour (baseColour);
}

void SliderDescLabel::mouseExit (const juce::MouseEvent&)
{
    if (linkedButton == nullptr)
        return;

    isHovered = false;
    showColour (baseColour);
}

void SliderDescLabel::mouseDown (const juce::MouseEvent&)
{
    if (isClickable)
        showColour (pressedColour());
}

void SliderDescLabel::mouseDrag (const juce::MouseEvent& event)
{
    if (! isClickable)
        return;

    const auto over = contains (event.getPosition());

    if (over && ! isHovered)
    {
        isHovered = true;
        showColour (pressedColour());
    }
    else if (! over && isHovered)
    {
        isHovered = false;
        showColour (baseColour);
    }
}

void SliderDescLabel::mouseUp (const juce::MouseEvent& event)
{
    if (! isClickable)
        return;

    const auto position = event.getPosition();
    const auto releasedOver = position.x >= 0 && position.y >= 0 && position.x < getWidth() && position.y < getHeight();

    if (auto* button = linkedButton.getComponent(); button != nullptr && releasedOver)
    {
        // The button's listeners may delete this label.
        const juce::Component::SafePointer<SliderDescLabel> self (this);

        lastToggleState = button->getToggleState();
        button->setToggleState (! lastToggleState, juce::sendNotificationSync); // click and state, at once

        if (self == nullptr)
            return;
    }

    showColour (baseColour);
}
