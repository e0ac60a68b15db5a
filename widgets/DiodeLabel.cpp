#include "widgets/DiodeLabel.h"

DiodeLabel::DiodeLabel() : juce::Label ({}, {})
{
}

void DiodeLabel::mouseDown (const juce::MouseEvent&)
{
    if (onClick)
        onClick();
}
