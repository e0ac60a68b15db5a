#pragma once

#include "widgets/HV_Button_s500.h"

#include <atomic>

/** The channel selector's cap button. It clicks on release like a plain button; a press held
    for a second while the selector is off LINK runs its onClick once, with the hold timer still
    running (which is how the click function tells a hold from a click), and the release that
    follows makes no click. A press at LINK arms no timer and ends as a plain click. */
class HV_ChanelButton : public HV_Button_s500
{
public:
    /** The state is the owning switch's position (0 is LINK); it must outlive the button. */
    explicit HV_ChanelButton (const std::atomic<int>* switchState);
    ~HV_ChanelButton() override;

    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    /** True between a press off LINK and its release or the end of the hold. */
    bool isHolding() const { return holdTimer.isTimerRunning(); }

    /** Ends a press held for holdMilliseconds. */
    class ButtonTimer : public juce::Timer
    {
    public:
        explicit ButtonTimer (HV_ChanelButton& owner);

        /** The hold has run out: the button's onClick runs while the timer still runs. */
        void timerCallback() override;

        /** Set when the hold ran out during the current press. */
        bool fired = false;

    private:
        HV_ChanelButton& owner;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ButtonTimer)
    };

    static constexpr int holdMilliseconds = 1000;

    /** Public so that tests can end a hold without waiting for the clock. */
    ButtonTimer holdTimer { *this };

private:
    const std::atomic<int>* switchState;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_ChanelButton)
};
