#include "link/MidiChannelParam.h"

#include "link/MidiDevice.h"

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
    const auto count = numListeners.load();

    if (listener == nullptr)
        return;

    for (int i = 0; i < count; ++i)
        if (listeners[(size_t) i].load() == listener)
            return;

    if (count == maxChannelListeners)
    {
        jassertfalse; // more recalling objects than there are hardware numbers
        return;
    }

    // The slot is filled before the receive thread can count it.
    listeners[(size_t) count].store (listener);
    numListeners.store (count + 1);
}

void MidiChannelParam::removeChannelListener (ChannelRecallingListener* listener)
{
    auto count = numListeners.load();

    for (int i = count; --i >= 0;)
    {
        if (listeners[(size_t) i].load() != listener)
            continue;

        for (int j = i; j < count - 1; ++j)
            listeners[(size_t) j].store (listeners[(size_t) j + 1].load());

        --count;
        numListeners.store (count);
        listeners[(size_t) count].store (nullptr);
    }
}

template <typename Call>
void MidiChannelParam::forEachListener (Call&& call)
{
    const auto count = numListeners.load();

    for (int i = 0; i < count; ++i)
        if (auto* listener = listeners[(size_t) i].load())
            call (*listener);
}

//==============================================================================
int MidiChannelParam::currentHardwareChannel() const
{
    // Dual mono only strictly above the middle.
    if (! (params.getParamValue (channelId) > 0.5f))
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
        forEachListener ([] (ChannelRecallingListener& l) { l.lockReceiving (true); });
        sender (hwNumber, hardwareChannel, false);
        startTimer (setUpTimerId, setUpWindowMs);
    }

    sendSelectedChannelToListeners (hardwareChannel);
}

void MidiChannelParam::sendSelectedChannelToListeners (int hardwareChannel)
{
    const auto selected = hardwareChannel < 2 ? 2 : (hardwareChannel < 4 ? 1 : 0);
    forEachListener ([selected] (ChannelRecallingListener& l) { l.setSelectedChannel (selected); });
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
    forEachListener ([] (ChannelRecallingListener& l) { l.lockReceiving (false); });
    forEachListener ([] (ChannelRecallingListener& l) { l.sendForced(); });
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
