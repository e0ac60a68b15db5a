#include "link/ChannelPairParams.h"

#include "core/NormalisedValue.h"
#include "core/StereoParameterLinker.h"

#include <utility>

/** A control with the hardware-bound value of each of its parameters. */
struct ChannelPairParams::BoundControl
{
    explicit BoundControl (Control c) : control (std::move (c)) {}

    int id (Side side) const noexcept { return side == left ? control.leftId : control.rightId; }

    const Control control;
    MidiParam midi[numSides];

    // Whether each side's open hardware gesture began one in the manager; message thread only.
    bool gestureBegun[numSides] = { false, false };
};

ChannelPairParams::ChannelPairParams (MidiChannelParam::UnitSender unitSender, juce::HvParamsManager& manager,
                                      int hardwareNumber, std::vector<Control> boundControls,
                                      RightWhileLinked rightChangesWhileLinked, HeldOnRelock heldValuesOnRelock)
    : params (manager),
      sender (std::move (unitSender)),
      hwNumber (hardwareNumber),
      rightWhileLinked (rightChangesWhileLinked),
      heldOnRelock (heldValuesOnRelock)
{
    for (auto& control : boundControls)
        controls.push_back (std::make_unique<BoundControl> (std::move (control)));

    for (auto& control : controls)
        for (auto side : { left, right })
            params.addParamListener (this, control->id (side), juce::HvParamsManager::noNotification);

    for (auto& control : controls)
        for (auto side : { left, right })
            bind (*control, side);
}

ChannelPairParams::~ChannelPairParams()
{
    for (auto& control : controls)
        for (auto side : { left, right })
            control->midi[side].endGesture();

    for (auto& control : controls)
        for (auto side : { left, right })
            params.removeParamListener (this, control->id (side));
}

void ChannelPairParams::bind (BoundControl& control, Side side)
{
    const auto id = control.id (side);
    auto& begun = control.gestureBegun[side];
    auto& midi = control.midi[side];

    // A right parameter is reported to only while channel 2 is selected on the unit. Should
    // the unit have linked its channels before the report is applied, the stereo linker
    // carries the left gesture over instead: a right gesture of our own as well would make the
    // linker nest each gesture inside the other's twin, each would wait for the other to end,
    // and neither would ever end at the host. The report is then dropped.
    midi.onGesture = [this, id, side, &begun] (bool starting)
    {
        if (starting)
        {
            begun = side == left || selectedChannel.load() != 0;

            if (begun)
                params.beginParamGesture (this, id);
        }
        else if (std::exchange (begun, false))
        {
            params.endParamGesture (this, id);
        }
    };

    // Named as the source, so that the value does not go back to the unit; applied only inside
    // a gesture of its own, so that the host never sees it move outside one.
    midi.onReceived = [this, id, &control, &begun] (int value)
    {
        if (begun)
            params.setParamValue (this, id, NormalisedValue::clamped (control.control.toFloat (value)));
    };

    // The value carries the channel's other controls too, as they are now.
    midi.send = [this, side, &control] (int value) { send (side, value | channelBits (side, &control)); };
}

template <typename Call>
void ChannelPairParams::forEachOnSide (Side side, Call&& call)
{
    for (auto& control : controls)
        call (control->midi[side]);
}

int ChannelPairParams::channelBits (Side side, const BoundControl* leftOut) const
{
    int bits = 0;

    for (auto& control : controls)
        if (control.get() != leftOut)
            bits |= control->control.toInt (params.getParamValue (control->id (side)));

    return bits;
}

bool ChannelPairParams::sendsChangeOf (Side side) const noexcept
{
    return side == left || rightWhileLinked == RightWhileLinked::sent || selectedChannel.load() != 0;
}

bool ChannelPairParams::mirrorsUnitReport (const BoundControl& control, Side side, const AutomatableParamListener* source) const
{
    // A linked unit reports one value for both channels, applied to the left parameter inside
    // a hardware gesture; the linker's mirror of it onto the right one arrives before that
    // gesture ends. Sent, it would carry the channel's other controls as they were before
    // their own mirrors arrived, and switch the unit back for a moment.
    return side == right && selectedChannel.load() == 0 && control.gestureBegun[left]
        && dynamic_cast<const StereoParameterLinker*> (source) != nullptr;
}

void ChannelPairParams::paramValueChanged (AutomatableParamListener* source, int id, float value)
{
    if (source == this)
        return;

    for (auto side : { left, right })
        for (auto& control : controls)
            if (id == control->id (side) && sendsChangeOf (side) && ! mirrorsUnitReport (*control, side, source))
                control->midi[side].dawValueChanged (control->control.toInt (value));
}

void ChannelPairParams::paramMidiChanged (int value)
{
    if (receivingLocked.load())
        return;

    // While the unit's channels are linked the value is the left parameters'; the stereo
    // linkers carry it, inside their mirrors of the left gestures, over to the right ones.
    const auto receive = [value] (MidiParam& midi) { midi.setReceivedValue (value); };

    switch (selectedChannel.load())
    {
        case 0:
        case 1: forEachOnSide (left, receive); break;
        case 2: forEachOnSide (right, receive); break;
        default: break;
    }
}

void ChannelPairParams::sendForced()
{
    if (! sender)
        return;

    const auto leftValue = channelBits (left);
    const auto rightValue = channelBits (right);

    forEachOnSide (left, [leftValue] (MidiParam& midi) { midi.dawValueChanged (leftValue); });

    if (selectedChannel.load() != 0)
        forEachOnSide (right, [rightValue] (MidiParam& midi) { midi.dawValueChanged (rightValue); });
}

void ChannelPairParams::setSelectedChannel (int newSelectedChannel)
{
    selectedChannel.store (newSelectedChannel);
}

void ChannelPairParams::lockReceiving (bool lock)
{
    receivingLocked.store (lock);

    if (lock)
    {
        if (heldOnRelock == HeldOnRelock::dropped)
            pending[left] = pending[right] = -1;

        return;
    }

    for (auto side : { left, right })
        if (const auto held = std::exchange (pending[side], -1); held >= 0)
            forEachOnSide (side, [held] (MidiParam& midi) { midi.dawValueChanged (held); });
}

void ChannelPairParams::send (Side side, int value)
{
    if (receivingLocked.load())
    {
        pending[side] = value;
        return;
    }

    if (sender)
        sender (hwNumber, value, selectedChannel.load() == (side == right ? 1 : 2));
}
