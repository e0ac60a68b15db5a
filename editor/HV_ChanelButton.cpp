#include "editor/HV_ChanelButton.h"

HV_ChanelButton::HV_ChanelButton (const std::atomic<int>* state) : switchState (state)
{
}

HV_ChanelButton::~HV_ChanelButton()
{
    holdTimer.stopTimer();
}

void HV_ChanelButton::mouseDown (const juce::MouseEvent& event)
{
    // Cleared on every press, so a hold whose release never arrived cannot swallow this click.
    holdTimer.fired = false;

    // At LINK there is nothing to return to, so the press is only ever a click.
    if (switchState != nullptr && switchState->load() != 0)
        holdTimer.startTimer (holdMilliseconds);

    HV_Button_s500::mouseDown (event);
}

void HV_ChanelButton::mouseUp (const juce::MouseEvent& event)
{
    if (holdTimer.isTimerRunning())
    {
        holdTimer.fired = false;
        holdTimer.stopTimer();
    }
    else if (holdTimer.fired)
    {
        holdTimer.fired = false;
        // No longer down, so the framework's release below makes no click.
        setState (juce::Button::buttonNormal);
    }

    HV_Button_s500::mouseUp (event);
}

HV_ChanelButton::ButtonTimer::ButtonTimer (HV_ChanelButton& ownerButton) : owner (ownerButton)
{
}

void HV_ChanelButton::ButtonTimer::timerCallback()
{
    fired = true;

    if (owner.onClick)
        owner.onClick();

    stopTimer();
}
