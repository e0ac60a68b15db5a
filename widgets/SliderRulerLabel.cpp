#include "widgets/SliderRulerLabel.h"

void SliderRulerLabel::mouseDown (const juce::MouseEvent&)
{
    handlePress();
}

void SliderRulerLabel::mouseUp (const juce::MouseEvent&)
{
    handleRelease();
}
