#include "link/MidiLRParam.h"

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
    : ChannelPairParams (std::move (unitSender), manager, hardwareNumber,
                         { { leftParamId, rightParamId, std::move (hardwareToFloat), std::move (floatToHardware) } },
                         RightWhileLinked::notSent, HeldOnRelock::kept)
{
}
