#include "core/Eq713kInstanceCore.h"

#include "core/Ids.h"
#include "core/MessageThreadTask.h"

Eq713kInstanceCore::Eq713kInstanceCore (Eq713kParamsManager& manager)
    : productManager (manager),
      connectedBarrier (std::make_unique<juce::ThreadBarierNonAutomatableParameter> (productManager, ParamData::IS_CONNECTED))
{
}

Eq713kInstanceCore::~Eq713kInstanceCore()
{
    stop();
    bridge.reset();
    connectedBarrier.reset();
}

void Eq713kInstanceCore::start()
{
    jassert (MessageThreadTask::mayRunHere());

    if (midiManager != nullptr)
        return;

    midiManager = juce::MidiManager::getInstance();
    midiManager->registerPluginInstance();

    if (! midiManager->isInitialised())
    {
        juce::StringArray unitNames { "Halvorstine 713K" };
        midiManager->initialize (unitNames);
    }

    pollAgainLater();
}

void Eq713kInstanceCore::pollAgainLater()
{
    if (! stopped.load())
        startTimer (pollIntervalMs);
}

void Eq713kInstanceCore::stop()
{
    // No timer is started afterwards: the tear-down may run after the message loop has ended.
    stopped.store (true);
    stopTimer();

    if (midiManager == nullptr)
        return;

    disconnect();

    midiManager->unregisterPluginInstance();
    midiManager = nullptr;
}

void Eq713kInstanceCore::timerCallback()
{
    if (productManager.getNonAutomatableParamValue (ParamData::SHOULD_BE_CONNECTED) == juce::var (false))
        return;

    stopTimer();

    if (productManager.getNonAutomatableParamValue (ParamData::IS_CONNECTED) != juce::var (false) || midiManager == nullptr)
    {
        pollAgainLater();
        return;
    }

    auto candidate = std::make_unique<Eq713kMidiBridge> (*this, productManager);
    auto serialNumber = static_cast<int> (productManager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN));

    if (serialNumber != -1)
    {
        // Waits for that very unit, however many others there are.
        if (! midiManager->connectIfSerialNo (serialNumber, candidate.get()))
        {
            pollAgainLater();
            return;
        }
    }
    else if (midiManager->connectIfOneDevice (candidate.get(), serialNumber))
    {
        productManager.setNonAutomatableParamValue (nullptr, ParamData::CONNECTED_DEV_SN, serialNumber);
    }
    else
    {
        if (hasFreeUnit())
            sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::showDeviceSelector));

        pollAgainLater();
        return;
    }

    bridge = std::move (candidate);
    productManager.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
}

bool Eq713kInstanceCore::hasFreeUnit() const
{
    const auto units = midiManager->getConnectionList();

    for (auto* unit : *units)
        if (unit->owner == nullptr)
            return true;

    return false;
}

void Eq713kInstanceCore::connectWithDevice (int serialNumber)
{
    productManager.setNonAutomatableParamValue (nullptr, ParamData::CONNECTED_DEV_SN, serialNumber);

    if (productManager.getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true))
        disconnect();

    timerCallback();
}

void Eq713kInstanceCore::disconnect()
{
    if (bridge != nullptr)
    {
        if (midiManager != nullptr)
            midiManager->disconnect (bridge.get());

        bridge->setConnectedMidiDevice (nullptr);
        bridge.reset();
    }

    pollAgainLater();
}

void Eq713kInstanceCore::connectionLost()
{
    if (connectedBarrier != nullptr)
        connectedBarrier->setParamValue (false);

    pollAgainLater();
}

void Eq713kInstanceCore::commandFallback (std::unique_ptr<juce::HvCommand> command)
{
    presetCommands.commandFallback (std::move (command));
}
