#include "widgets/SliderRulerDiode.h"

void SliderRulerDiode::mouseDown (const juce::MouseEvent&)
{
    handlePress();
}

void SliderRulerDiode::mouseUp (const juce::MouseEvent&)
{
    handleRelease();
}
