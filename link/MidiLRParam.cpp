#include "link/MidiLRParam.h"

#include "core/NormalisedValue.h"

#include <utility>

MidiLRParam::MidiLRParam (juce::MidiDevice* device, juce::HvParamsManager& manager, int leftParamId,
                          int rightParamId, int hardwareNumber, ToFloat hardwareToFloat, ToInt floatToHardware)
    : MidiLRParam (MidiChannelParam::sendingTo (device), manager, leftParamId, rightParamId, hardwareNumber,
                   std::move (hardwareToFloat), std::move (floatToHardware))
{
}

MidiLRParam::MidiLRParam (MidiChannelParam::UnitSender unitSender, juce::HvParamsManager& manager,
                          int leftParamId, int rightParamId, int hardwareNumber, ToFloat hardwareToFloat,
                          ToInt floatToHardware)
    : params (manager),
      sender (std::move (unitSender)),
      leftId (leftParamId),
      rightId (rightParamId),
      hwNumber (hardwareNumber),
      toFloat (std::move (hardwareToFloat)),
      toInt (std::move (floatToHardware))
{
    params.addParamListener (this, leftId, juce::HvParamsManager::noNotification);
    params.addParamListener (this, rightId, juce::HvParamsManager::noNotification);

    left.onGesture = [this] (bool starting) { gesture (leftId, starting); };
    left.onReceived = [this] (int value) { apply (leftId, value); };
    left.send = [this] (int value) { send (value, false); };

    right.onGesture = [this] (bool starting) { rightGesture (starting); };
    right.onReceived = [this] (int value)
    {
        // Only inside a gesture of its own: the host never sees it move outside one.
        if (rightGestureBegun)
            apply (rightId, value);
    };
    right.send = [this] (int value) { send (value, true); };
}

MidiLRParam::~MidiLRParam()
{
    left.endGesture();
    right.endGesture();

    params.removeParamListener (this, leftId);
    params.removeParamListener (this, rightId);
}

void MidiLRParam::paramValueChanged (int id, float value)
{
    const auto converted = toInt (value);

    if (id == leftId)
        left.dawValueChanged (converted);

    if (id == rightId && selectedChannel.load() != 0)
        right.dawValueChanged (converted);
}

void MidiLRParam::paramMidiChanged (int value)
{
    if (receivingLocked.load())
        return;

    // While the unit's channels are linked the value is the left parameter's; the stereo
    // linker carries it, inside its mirror of the left gesture, over to the right parameter.
    switch (selectedChannel.load())
    {
        case 0:
        case 1: left.setReceivedValue (value); break;
        case 2: right.setReceivedValue (value); break;
        default: break;
    }
}

void MidiLRParam::sendForced()
{
    if (! sender)
        return;

    const auto leftValue = toInt (params.getParamValue (leftId));
    const auto rightValue = toInt (params.getParamValue (rightId));

    left.dawValueChanged (leftValue);

    if (selectedChannel.load() != 0)
        right.dawValueChanged (rightValue);
}

void MidiLRParam::setSelectedChannel (int newSelectedChannel)
{
    selectedChannel.store (newSelectedChannel);
}

void MidiLRParam::lockReceiving (bool lock)
{
    receivingLocked.store (lock);

    if (lock)
        return;

    // Locking again keeps what is held; only unlocking sends it.
    if (const auto held = std::exchange (pendingLeft, -1); held >= 0)
        left.dawValueChanged (held);

    if (const auto held = std::exchange (pendingRight, -1); held >= 0)
        right.dawValueChanged (held);
}

void MidiLRParam::send (int value, bool isRight)
{
    if (receivingLocked.load())
    {
        (isRight ? pendingRight : pendingLeft) = value;
        return;
    }

    if (sender)
        sender (hwNumber, value, selectedChannel.load() == (isRight ? 1 : 2));
}

void MidiLRParam::apply (int id, int value)
{
    // Named as the source, so that the value does not go back to the unit.
    params.setParamValue (this, id, NormalisedValue::clamped (toFloat (value)));
}

void MidiLRParam::gesture (int id, bool starting)
{
    if (starting)
        params.beginParamGesture (this, id);
    else
        params.endParamGesture (this, id);
}

void MidiLRParam::rightGesture (bool starting)
{
    // The right parameter is reported to only while channel 2 is selected on the unit. Should
    // the unit have linked its channels before the report is applied, the stereo linker
    // carries the left gesture over instead: a right gesture of our own as well would make the
    // linker nest each gesture inside the other's twin, each would wait for the other to end,
    // and neither would ever end at the host. The report is then dropped.
    if (starting)
    {
        rightGestureBegun = selectedChannel.load() != 0;

        if (rightGestureBegun)
            gesture (rightId, true);
    }
    else if (std::exchange (rightGestureBegun, false))
    {
        gesture (rightId, false);
    }
}
