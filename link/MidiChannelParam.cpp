#include "link/MidiChannelParam.h"

#include "link/MidiDevice.h"

#include <algorithm>

MidiChannelParam::UnitSender MidiChannelParam::sendingTo (juce::MidiDevice* device)
{
    if (device == nullptr)
        return {};

    return [device] (int hardwareNumber, int value, bool otherChannel)
    {
        device->setValue (hardwareNumber, value, otherChannel);
    };
}

MidiChannelParam::MidiChannelParam (juce::MidiDevice* device, juce::HvParamsManager& manager,
                                    int channelParamId, int selectedChannelSettingId)
    : MidiChannelParam (sendingTo (device), manager, channelParamId, selectedChannelSettingId)
{
}

MidiChannelParam::MidiChannelParam (UnitSender unitSender, juce::HvParamsManager& manager,
                                    int channelParamId, int selectedChannelSettingId)
    : params (manager),
      sender (std::move (unitSender)),
      channelId (channelParamId),
      selectedChannelId (selectedChannelSettingId)
{
    params.addParamListener (this, channelId, juce::HvParamsManager::noNotification);
    params.addNonAutomatableParamListener (this, selectedChannelId, juce::HvParamsManager::noNotification);

    channel.onGesture = [this] (bool starting) { gesture (starting); };
    channel.onReceived = [this] (int hardwareChannel) { applyReceived (hardwareChannel); };
    channel.send = [this] (int hardwareChannel) { recall (hardwareChannel); };
}

MidiChannelParam::~MidiChannelParam()
{
    // Stopped here: the object may be deleted after the message loop has ended.
    stopTimer (sendTimerId);
    stopTimer (setUpTimerId);
    cancelPendingUpdate();
    channel.endGesture();

    params.removeParamListener (this, channelId);
    params.removeNonAutomatableParamListener (this, selectedChannelId);
}

//==============================================================================
void MidiChannelParam::addChannelListener (ChannelRecallingListener* listener)
{
    if (listener != nullptr && std::find (listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back (listener);
}

void MidiChannelParam::removeChannelListener (ChannelRecallingListener* listener)
{
    listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
}

//==============================================================================
int MidiChannelParam::currentHardwareChannel() const
{
    if (! ProductTable::channelsApartOnUnit (params.getParamValue (channelId)))
        return linkedChannels;

    return (int) params.getNonAutomatableParamValue (selectedChannelId) == 0 ? dualMonoChannel1
                                                                            : dualMonoChannel2;
}

void MidiChannelParam::sendForced()
{
    channel.dawValueChanged (currentHardwareChannel());
}

void MidiChannelParam::recall (int hardwareChannel)
{
    if (sender)
    {
        for (auto* listener : listeners)
            listener->lockReceiving (true);

        sender (hwNumber, hardwareChannel, false);
        startTimer (setUpTimerId, setUpWindowMs);
    }

    sendSelectedChannelToListeners (hardwareChannel);
}

void MidiChannelParam::sendSelectedChannelToListeners (int hardwareChannel)
{
    const auto selected = hardwareChannel < 2 ? 2 : (hardwareChannel < 4 ? 1 : 0);

    for (auto* listener : listeners)
        listener->setSelectedChannel (selected);
}

void MidiChannelParam::paramMidiChanged (int hardwareChannel)
{
    sendSelectedChannelToListeners (hardwareChannel);
    channel.setReceivedValue (hardwareChannel);
}

void MidiChannelParam::finishSetUpAsync()
{
    setUpEndRequested.store (true);
    triggerAsyncUpdate();
}

void MidiChannelParam::channelSetUpFinished()
{
    for (auto* listener : listeners)
        listener->lockReceiving (false);

    for (auto* listener : listeners)
        listener->sendForced();
}

//==============================================================================
void MidiChannelParam::applyReceived (int hardwareChannel)
{
    // The mode first, so that listeners of the selection already see the new mode.
    params.setParamValue (this, channelId, hardwareChannel > 2 ? 0.0f : 1.0f);
    params.setNonAutomatableParamValue (this, selectedChannelId, juce::var (hardwareChannel < 2 ? 1 : 0));
}

void MidiChannelParam::gesture (bool starting)
{
    if (starting)
        params.beginParamGesture (this, channelId);
    else
        params.endParamGesture (this, channelId);
}

void MidiChannelParam::paramValueChanged (int id, float)
{
    if (id == channelId)
        startTimer (sendTimerId, sendDelayMs);
}

void MidiChannelParam::nonAutomatableParamValueChanged (int id, juce::var)
{
    if (id == selectedChannelId)
        startTimer (sendTimerId, sendDelayMs);
}

void MidiChannelParam::handleAsyncUpdate()
{
    if (setUpEndRequested.exchange (false))
        stopTimer (setUpTimerId);

    channelSetUpFinished();
}

void MidiChannelParam::timerCallback (int timerId)
{
    if (timerId == sendTimerId)
    {
        // Read only now, so that a mode and a selection changed together go out as one.
        stopTimer (sendTimerId);
        channel.dawValueChanged (currentHardwareChannel());
    }
    else if (timerId == setUpTimerId)
    {
        stopTimer (setUpTimerId);
        triggerAsyncUpdate();
    }
}
