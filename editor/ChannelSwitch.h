#pragma once

#include "editor/HV_ChanelButton.h"
#include "widgets/HV_Switch_s500.h"

/** The CH. selector: positions LINK, 1 and 2, each with a lamp and a clickable label, one cap
    button and the black name "CH." to the right of the switch.

    A click on a position's lamp or label selects it; a click on the current position does
    nothing and tells nobody. The button's click depends on the window mode (setting "DOUBLE
    WINDOW", which the owner tells it): in the single window it steps LINK -> 1 -> 2 -> 1; in the double window it selects
    the own channel of the view that owns the switch. Held for a second off LINK, the button
    selects LINK.

    Each position has its own red lit lamp. In the single window the current position is lit;
    in the double window, off LINK, each view lights its own channel, whichever is selected. */
class ChannelSwitch : public HV_Switch_s500
{
public:
    /** The own channel is 0 for the first channel's view; any other value is the second
        channel. The switch starts in the single window. */
    explicit ChannelSwitch (int ownChannel);
    ~ChannelSwitch() override;

    /** The owner tells the switch the window mode (setting "DOUBLE WINDOW"); the lamps follow
        at once. */
    void setDoubleWindow (bool isDouble);

    HV_ChanelButton& getChannelButton() noexcept { return *channelButton; }

protected:
    void layoutAllComponents() override;
    /** The lamps are placed by layoutAllComponents. */
    void layoutDiodes (float scale) override;
    /** Shows exactly one lit lamp, by the rule of the window mode. */
    void updateLightDiode() override;

private:
    void selectPosition (int position);
    void buttonClicked();

    /** 0 for the first channel, 1 for the second. */
    const int ownChannel;
    bool doubleWindow = false;
    HV_ChanelButton* channelButton = nullptr; // owned by buttons

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChannelSwitch)
};
