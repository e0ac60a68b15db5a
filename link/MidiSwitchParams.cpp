#include "link/MidiSwitchParams.h"

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
    : ChannelPairParams (std::move (unitSender), manager, hardwareNumber,
                         { { firstLeftParamId, firstRightParamId, std::move (firstHardwareToFloat), std::move (firstFloatToHardware) },
                           { secondLeftParamId, secondRightParamId, std::move (secondHardwareToFloat), std::move (secondFloatToHardware) } },
                         RightWhileLinked::sent, HeldOnRelock::dropped)
{
}
