#pragma once

#include "link/ChannelPairParams.h"

namespace juce
{
class MidiDevice;
}

/** Binds a channel-1 parameter (left) and its channel-2 twin (right) to one hardware number
    of their own, by the channel selected on the unit (see ChannelPairParams). While linked, a
    right-channel change is not sent: the left parameter speaks for both channels. Locking
    again keeps the values already held back.
*/
class MidiLRParam : public ChannelPairParams
{
public:
    MidiLRParam (juce::MidiDevice* device, juce::HvParamsManager& params, int leftId, int rightId,
                 int hwNumber, ToFloat toFloat, ToInt toInt);
    MidiLRParam (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params, int leftId, int rightId,
                 int hwNumber, ToFloat toFloat, ToInt toInt);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiLRParam)
};
