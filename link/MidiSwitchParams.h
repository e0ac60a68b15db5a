#pragma once

#include "link/ChannelPairParams.h"

namespace juce
{
class MidiDevice;
}

/** Binds two per-channel controls whose values share one hardware byte (LO CPS in the low
    four bits, HI KCS ATTEN in bits 4..6 of hardware number 13), by the channel selected on the
    unit (see ChannelPairParams): every byte sent carries both controls of its channel, and a
    reported byte sets both controls of the selected channel, each from its own bits. Unlike
    the left/right objects, a right-channel change is sent also while the channels are linked,
    and locking again drops the bytes held back: the recall that follows sends every value
    anyway.
*/
class MidiSwitchParams : public ChannelPairParams
{
public:
    MidiSwitchParams (juce::MidiDevice* device, juce::HvParamsManager& params,
                      int firstLeftId, int firstRightId, int hwNumber, ToFloat firstToFloat, ToInt firstToInt,
                      int secondLeftId, int secondRightId, ToFloat secondToFloat, ToInt secondToInt);
    MidiSwitchParams (MidiChannelParam::UnitSender sender, juce::HvParamsManager& params,
                      int firstLeftId, int firstRightId, int hwNumber, ToFloat firstToFloat, ToInt firstToInt,
                      int secondLeftId, int secondRightId, ToFloat secondToFloat, ToInt secondToInt);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiSwitchParams)
};
