#pragma once

#include "core/HvParamsManager.h"
#include "link/MidiChannelParam.h"
#include "link/MidiParam.h"

#include <atomic>
#include <functional>

namespace juce
{
class MidiDevice;
}

/** Binds a channel-1 parameter (left) and its channel-2 twin (right) to one hardware
    number. The unit has one set of controls acting on its selected channel (or on both
    when linked), so values go out with the channel flag that suits the selection, and a
    reported value goes to the parameter of the selected channel. While linked, a right-channel
    change is not sent, and a reported value goes to the left parameter only: the right one
    takes it through the stereo linker's mirror, inside the mirrored gesture.
*/
class MidiLRParam : public juce::HvParamsManager::AutomatableParamListener,
                    public MidiChannelParam::ChannelRecallingListener
{
public:
    using ToFloat = std::function<float (int)>;
    using ToInt = std::function<int (float)>;

    MidiLRParam (juce::MidiDevice* device, juce::HvParamsManager& params, int leftId, int rightId,
                 int hwNumber, ToFloat toFloat, ToInt toInt);
    MidiLRParam (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params, int leftId, int rightId,
                 int hwNumber, ToFloat toFloat, ToInt toInt);
    ~MidiLRParam() override;

    using juce::HvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float value) override;

    /** A value the unit reported for the hardware number, on the receive thread. */
    void paramMidiChanged (int value);

    void sendForced() override;
    void setSelectedChannel (int selectedChannel) override;
    void lockReceiving (bool lock) override;

    int getSelectedChannel() const noexcept { return selectedChannel.load(); }
    bool isReceivingLocked() const noexcept { return receivingLocked.load(); }
    int getHwNumber() const noexcept { return hwNumber; }

private:
    void send (int value, bool isRight);
    void apply (int id, int value);
    void gesture (int id, bool starting);
    void rightGesture (bool starting);

    juce::HvParamsManager& params;
    const MidiChannelParam::UnitSender sender;
    const int leftId;
    const int rightId;
    const int hwNumber;
    const ToFloat toFloat;
    const ToInt toInt;

    // Written on the message thread and (the selection) on the receive thread.
    std::atomic<int> selectedChannel { 0 };
    std::atomic<bool> receivingLocked { false };

    // Held back while locked, -1 for none; message thread only.
    int pendingLeft = -1;
    int pendingRight = -1;

    // Whether the right parameter's open hardware gesture began one in the manager.
    bool rightGestureBegun = false;

    MidiParam left;
    MidiParam right;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiLRParam)
};
