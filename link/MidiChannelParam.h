#pragma once

#include "core/HvParamsManager.h"
#include "core/ProductTable.h"
#include "link/MidiParam.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>
#include <vector>

namespace juce
{
class MidiDevice;
}

/** Binds the channel mode ("CHANNEL") and the selected channel ("SELECTED CHANNEL") to
    hardware number 14, and runs the channel recall: whenever the channel state goes to the
    unit, the recalling listeners are locked, the unit is given 500 ms (or until it reports
    hardware number 16) to switch, and then every listener sends all its values again with
    the flags of the new selection. It also tells the listeners which channel is selected,
    also when the selection changes on the unit.

    The selection reaches the listeners on the receive thread too, as a report of hardware
    number 14 is routed. The listeners are therefore added and removed only while no report
    can be routed to this object: before the bridge publishes its objects to the receive
    thread, and after it has unpublished them and waited for the reports being routed
    (CallGate).
*/
class MidiChannelParam : public juce::HvParamsManager::AutomatableParamListener,
                         public juce::HvParamsManager::NonAutomatableParamListener,
                         public juce::AsyncUpdater,
                         public juce::MultiTimer
{
public:
    /** Sends one value message: hardware number, value, meant for the other channel. */
    using UnitSender = std::function<void (int hardwareNumber, int value, bool otherChannel)>;

    /** A sender to the device, or none (an empty function) without one. */
    static UnitSender sendingTo (juce::MidiDevice* device);

    /** An object that takes part in the channel recall. */
    class ChannelRecallingListener
    {
    public:
        virtual ~ChannelRecallingListener() = default;

        /** 0 channels linked, 1 channel 1 selected, 2 channel 2 selected. Any thread. */
        virtual void setSelectedChannel (int selectedChannel) = 0;

        /** True drops received values and holds back values to send; false sends what was
            held back. */
        virtual void lockReceiving (bool lock) = 0;

        /** Sends every current value, by the selected channel. */
        virtual void sendForced() = 0;
    };

    enum TimerIds
    {
        sendTimerId = 0,
        setUpTimerId = 1
    };

    static constexpr int sendDelayMs = 2;
    static constexpr int setUpWindowMs = 500;

    /** Hardware channel values. */
    enum HardwareChannel
    {
        dualMonoChannel2 = 1,
        dualMonoChannel1 = 2,
        linkedChannels = 4
    };

    MidiChannelParam (juce::MidiDevice* device, juce::HvParamsManager& params,
                      int channelParamId, int selectedChannelSettingId);
    MidiChannelParam (UnitSender sender, juce::HvParamsManager& params,
                      int channelParamId, int selectedChannelSettingId);
    ~MidiChannelParam() override;

    /** Message thread, while no report is routed here (see above). A listener must be removed
        before it is deleted. */
    void addChannelListener (ChannelRecallingListener* listener);
    void removeChannelListener (ChannelRecallingListener* listener);

    /** Sends the channel state now, with its recall. */
    void sendForced();

    /** Tells every listener the selected channel for a hardware channel value. Any thread. */
    void sendSelectedChannelToListeners (int hardwareChannel);

    /** A hardware number 14 reported by the unit, on the receive thread: the listeners learn
        the selection at once, the plug-in later on the message thread. */
    void paramMidiChanged (int hardwareChannel);

    /** Any thread (the unit reported hardware number 16): ends the set-up window from the
        message thread soon, also when none is open. */
    void finishSetUpAsync();

    /** Unlocks every listener, then makes each send all its values. */
    void channelSetUpFinished();

    /** The hardware channel value of the plug-in's current channel state. */
    int currentHardwareChannel() const;

    using juce::HvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float value) override;
    void nonAutomatableParamValueChanged (int id, juce::var value) override;

    void handleAsyncUpdate() override;
    void timerCallback (int timerId) override;

private:
    void recall (int hardwareChannel);
    void applyReceived (int hardwareChannel);
    void gesture (bool starting);

    juce::HvParamsManager& params;
    const UnitSender sender;

    // In registration order, each once; changed only while no report is routed here.
    std::vector<ChannelRecallingListener*> listeners;

    const int channelId;
    const int selectedChannelId;
    const int hwNumber = ProductTable::channelNumber;

    // Set by a reported hardware number 16; the set-up timer is stopped on the message thread.
    std::atomic<bool> setUpEndRequested { false };

    MidiParam channel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiChannelParam)
};
