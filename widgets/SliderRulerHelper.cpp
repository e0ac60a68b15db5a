#include "widgets/SliderRulerHelper.h"

#include "widgets/HV_Knob.h"

#include <utility>

void SliderRulerHelper::handlePress()
{
    if (knob == nullptr || ! isActive)
        return;

    auto& target = *knob;
    target.setValue (value, juce::dontSendNotification);

    if (knobWithOpenGesture == nullptr)
    {
        knobWithOpenGesture = &target;

        if (target.onDragStart)
            target.onDragStart();
    }

    if (target.onValueChange)
        target.onValueChange();
}

void SliderRulerHelper::handleRelease()
{
    endOpenGesture();
}

bool SliderRulerHelper::endOpenGesture()
{
    auto* target = std::exchange (knobWithOpenGesture, nullptr);

    if (target == nullptr)
        return false;

    if (target->onDragEnd)
        target->onDragEnd();

    return true;
}
