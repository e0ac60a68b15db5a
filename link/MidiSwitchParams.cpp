#include "link/MidiSwitchParams.h"

#include "core/NormalisedValue.h"

#include <utility>

MidiSwitchParams::MidiSwitchParams (juce::MidiDevice* device, juce::HvParamsManager& manager,
                                    int firstLeftParamId, int firstRightParamId, int hardwareNumber,
                                    ToFloat firstHardwareToFloat, ToInt firstFloatToHardware,
                                    int secondLeftParamId, int secondRightParamId,
                                    ToFloat secondHardwareToFloat, ToInt secondFloatToHardware)
    : MidiSwitchParams (MidiChannelParam::sendingTo (device), manager, firstLeftParamId, firstRightParamId, hardwareNumber,
                        std::move (firstHardwareToFloat), std::move (firstFloatToHardware), secondLeftParamId, secondRightParamId,
                        std::move (secondHardwareToFloat), std::move (secondFloatToHardware))
{
}

MidiSwitchParams::MidiSwitchParams (MidiChannelParam::UnitSender unitSender, juce::HvParamsManager& manager,
                                    int firstLeftParamId, int firstRightParamId, int hardwareNumber,
                                    ToFloat firstHardwareToFloat, ToInt firstFloatToHardware,
                                    int secondLeftParamId, int secondRightParamId,
                                    ToFloat secondHardwareToFloat, ToInt secondFloatToHardware)
    : params (manager),
      sender (std::move (unitSender)),
      firstLeftId (firstLeftParamId),
      firstRightId (firstRightParamId),
      secondLeftId (secondLeftParamId),
      secondRightId (secondRightParamId),
      hwNumber (hardwareNumber),
      firstToFloat (std::move (firstHardwareToFloat)),
      firstToInt (std::move (firstFloatToHardware)),
      secondToFloat (std::move (secondHardwareToFloat)),
      secondToInt (std::move (secondFloatToHardware))
{
    for (auto id : { firstLeftId, firstRightId, secondLeftId, secondRightId })
        params.addParamListener (this, id, juce::HvParamsManager::noNotification);

    bind (firstLeft, firstLeftId, firstToFloat, secondLeftId, secondToInt, false, gestureBegun[0]);
    bind (firstRight, firstRightId, firstToFloat, secondRightId, secondToInt, true, gestureBegun[1]);
    bind (secondLeft, secondLeftId, secondToFloat, firstLeftId, firstToInt, false, gestureBegun[2]);
    bind (secondRight, secondRightId, secondToFloat, firstRightId, firstToInt, true, gestureBegun[3]);
}

MidiSwitchParams::~MidiSwitchParams()
{
    for (auto* param : { &firstLeft, &firstRight, &secondLeft, &secondRight })
        param->endGesture();

    for (auto id : { firstLeftId, firstRightId, secondLeftId, secondRightId })
        params.removeParamListener (this, id);
}

void MidiSwitchParams::bind (MidiParam& param, int id, const ToFloat& converter,
                             int otherPairId, const ToInt& otherConverter, bool isRight, bool& begun)
{
    // A right parameter is reported to only while channel 2 is selected on the unit. Should
    // the unit have linked its channels before the report is applied, the stereo linker
    // carries the left gesture over instead: a right gesture of our own as well would make the
    // linker nest each gesture inside the other's twin, each would wait for the other to end,
    // and neither would ever end at the host. The report is then dropped.
    param.onGesture = [this, id, isRight, &begun] (bool starting)
    {
        if (starting)
        {
            begun = ! isRight || selectedChannel.load() != 0;

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
    param.onReceived = [this, id, &converter, &begun] (int value)
    {
        if (begun)
            params.setParamValue (this, id, NormalisedValue::clamped (converter (value)));
    };

    // The byte carries the other control of the same channel too, as it is now.
    param.send = [this, otherPairId, &otherConverter, isRight] (int value)
    {
        send (value | otherConverter (params.getParamValue (otherPairId)), isRight);
    };
}

void MidiSwitchParams::paramValueChanged (int id, float value)
{
    if (id == firstLeftId)
        firstLeft.dawValueChanged (firstToInt (value));

    if (id == secondLeftId)
        secondLeft.dawValueChanged (secondToInt (value));

    if (id == firstRightId)
        firstRight.dawValueChanged (firstToInt (value));

    if (id == secondRightId)
        secondRight.dawValueChanged (secondToInt (value));
}

void MidiSwitchParams::paramMidiChanged (int value)
{
    if (receivingLocked.load())
        return;

    // While the unit's channels are linked the byte is the left parameters'; the stereo linkers
    // carry it, inside their mirrors of the left gestures, over to the right parameters.
    switch (selectedChannel.load())
    {
        case 0:
        case 1:
            firstLeft.setReceivedValue (value);
            secondLeft.setReceivedValue (value);
            break;
        case 2:
            firstRight.setReceivedValue (value);
            secondRight.setReceivedValue (value);
            break;
        default:
            break;
    }
}

int MidiSwitchParams::combined (int firstId, int secondId) const
{
    return firstToInt (params.getParamValue (firstId)) | secondToInt (params.getParamValue (secondId));
}

void MidiSwitchParams::sendForced()
{
    if (! sender)
        return;

    const auto leftByte = combined (firstLeftId, secondLeftId);
    const auto rightByte = combined (firstRightId, secondRightId);

    firstLeft.dawValueChanged (leftByte);
    secondLeft.dawValueChanged (leftByte);

    if (selectedChannel.load() != 0)
    {
        firstRight.dawValueChanged (rightByte);
        secondRight.dawValueChanged (rightByte);
    }
}

void MidiSwitchParams::setSelectedChannel (int newSelectedChannel)
{
    selectedChannel.store (newSelectedChannel);
}

void MidiSwitchParams::lockReceiving (bool lock)
{
    receivingLocked.store (lock);

    if (lock)
    {
        // Each lock starts afresh: the recall that follows sends every value anyway.
        pendingLeft = -1;
        pendingRight = -1;
        return;
    }

    if (const auto held = std::exchange (pendingLeft, -1); held >= 0)
    {
        firstLeft.dawValueChanged (held);
        secondLeft.dawValueChanged (held);
    }

    if (const auto held = std::exchange (pendingRight, -1); held >= 0)
    {
        firstRight.dawValueChanged (held);
        secondRight.dawValueChanged (held);
    }
}

void MidiSwitchParams::send (int value, bool isRight)
{
    if (receivingLocked.load())
    {
        (isRight ? pendingRight : pendingLeft) = value;
        return;
    }

    if (sender)
        sender (hwNumber, value, selectedChannel.load() == (isRight ? 1 : 2));
}
