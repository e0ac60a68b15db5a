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

/** Binds two per-channel controls whose values share one hardware byte (LO CPS in the low
    four bits, HI KCS ATTEN in bits 4..6 of hardware number 13). Every value sent carries
    both controls of its channel, OR-ed; a reported byte sets both controls of the selected
    channel, each from its own bits. Unlike the left/right objects, a right-channel change
    is sent also while the channels are linked; like them, a byte reported then goes to the
    left parameters only, and the right ones take it through the stereo linker's mirrors.
*/
class MidiSwitchParams : public juce::HvParamsManager::AutomatableParamListener,
                         public MidiChannelParam::ChannelRecallingListener
{
public:
    using ToFloat = std::function<float (int)>;
    using ToInt = std::function<int (float)>;

    MidiSwitchParams (juce::MidiDevice* device, juce::HvParamsManager& params,
                      int firstLeftId, int firstRightId, int hwNumber, ToFloat firstToFloat, ToInt firstToInt,
                      int secondLeftId, int secondRightId, ToFloat secondToFloat, ToInt secondToInt);
    MidiSwitchParams (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params,
                      int firstLeftId, int firstRightId, int hwNumber, ToFloat firstToFloat, ToInt firstToInt,
                      int secondLeftId, int secondRightId, ToFloat secondToFloat, ToInt secondToInt);
    ~MidiSwitchParams() override;

    using juce::HvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float value) override;

    /** A byte the unit reported for the hardware number, on the receive thread. */
    void paramMidiChanged (int value);

    void sendForced() override;
    void setSelectedChannel (int selectedChannel) override;
    void lockReceiving (bool lock) override;

    int getSelectedChannel() const noexcept { return selectedChannel.load(); }
    bool isReceivingLocked() const noexcept { return receivingLocked.load(); }

private:
    void bind (MidiParam& param, int id, const ToFloat& converter, int otherPairId, const ToInt& otherConverter,
               bool isRight, bool& gestureBegun);
    void send (int value, bool isRight);
    int combined (int firstId, int secondId) const;

    juce::HvParamsManager& params;
    const MidiChannelParam::UnitSender sender;
    const int firstLeftId;
    const int firstRightId;
    const int secondLeftId;
    const int secondRightId;
    const int hwNumber;
    const ToFloat firstToFloat;
    const ToInt firstToInt;
    const ToFloat secondToFloat;
    const ToInt secondToInt;

    // Written on the message thread and (the selection) on the receive thread.
    std::atomic<int> selectedChannel { 0 };
    std::atomic<bool> receivingLocked { false };

    // The combined byte of one channel held back while locked, -1 for none; message thread only.
    int pendingLeft = -1;
    int pendingRight = -1;

    // Whether each parameter's open hardware gesture began one in the manager, in the order
    // first left, first right, second left, second right; message thread only.
    bool gestureBegun[4] = { false, false, false, false };

    MidiParam firstLeft;
    MidiParam firstRight;
    MidiParam secondLeft;
    MidiParam secondRight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiSwitchParams)
};
