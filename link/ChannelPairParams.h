#pragma once

#include "core/HvParamsManager.h"
#include "link/MidiChannelParam.h"
#include "link/MidiParam.h"

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

/** Per-channel controls on one hardware number: each control a channel-1 parameter (left) and
    its channel-2 twin (right). The unit has one set of controls acting on its selected channel
    (or on both when linked), so the value pair is addressed by the selected channel: values go
    out with the channel flag that suits the selection, and a reported value goes to the
    parameters of the selected channel. While linked, a reported value goes to the left
    parameters only: the right ones take it through the stereo linkers' mirrors, inside the
    mirrored gestures, and those mirrors are not sent: the linked unit has the value on both
    channels already.

    A value sent for a channel carries every control of that channel, OR-ed (the controls of
    one hardware number use bits of their own); a reported value reaches every control of the
    channel, each reading it through its own converter. While the channel recall locks it,
    reports are dropped and the latest value of each channel to send is held back until it
    unlocks.

    MidiLRParam and MidiSwitchParams say what differs: how many controls share the number,
    whether a right-channel change goes out while linked, and what locking again does to the
    values held back.
*/
class ChannelPairParams : public juce::HvParamsManager::AutomatableParamListener,
                          public MidiChannelParam::ChannelRecallingListener
{
public:
    using ToFloat = std::function<float (int)>;
    using ToInt = std::function<int (float)>;

    ~ChannelPairParams() override;

    using juce::HvParamsManager::AutomatableParamListener::paramValueChanged;
    void paramValueChanged (AutomatableParamListener* source, int id, float value) override;

    /** A value the unit reported for the hardware number, on the receive thread. */
    void paramMidiChanged (int value);

    void sendForced() override;
    void setSelectedChannel (int selectedChannel) override;
    void lockReceiving (bool lock) override;

protected:
    /** One control: its two parameters and its converters. */
    struct Control
    {
        int leftId;
        int rightId;
        ToFloat toFloat;
        ToInt toInt;
    };

    /** Whether a right-channel change goes out while the channels are linked. */
    enum class RightWhileLinked { notSent, sent };

    /** What locking again does to values already held back. */
    enum class HeldOnRelock { kept, dropped };

    /** Registers for every parameter, control by control, left before right, without being
        told the current values. */
    ChannelPairParams (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params, int hwNumber,
                       std::vector<Control> controls, RightWhileLinked rightWhileLinked, HeldOnRelock heldOnRelock);

private:
    enum Side { left, right, numSides };

    struct BoundControl;

    void bind (BoundControl& control, Side side);
    void send (Side side, int value);
    bool sendsChangeOf (Side side) const noexcept;
    bool mirrorsUnitReport (const BoundControl& control, Side side, const AutomatableParamListener* source) const;

    /** The current values of one channel's controls, converted and OR-ed; one control may be
        left out. */
    int channelBits (Side side, const BoundControl* leftOut = nullptr) const;

    template <typename Call>
    void forEachOnSide (Side side, Call&& call);

    juce::HvParamsManager& params;
    const MidiChannelParam::UnitSender sender;
    const int hwNumber;
    const RightWhileLinked rightWhileLinked;
    const HeldOnRelock heldOnRelock;

    // Built with the object and only read afterwards, also on the receive thread.
    std::vector<std::unique_ptr<BoundControl>> controls;

    // Written on the message thread and (the selection) on the receive thread.
    std::atomic<int> selectedChannel { 0 };
    std::atomic<bool> receivingLocked { false };

    // The value of each channel held back while locked, -1 for none; message thread only.
    int pending[numSides] = { -1, -1 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ChannelPairParams)
};
