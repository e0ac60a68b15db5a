#include "core/Eq713kPluginInstance.h"

#include "core/Ids.h"

namespace
{

constexpr juce::int32 fourCharCode (const char (&code)[5])
{
    return (juce::int32) (((juce::uint32) (juce::uint8) code[0] << 24) | ((juce::uint32) (juce::uint8) code[1] << 16)
                        | ((juce::uint32) (juce::uint8) code[2] << 8) | (juce::uint32) (juce::uint8) code[3]);
}

} // namespace

juce::AudioProcessor::BusesProperties Eq713kPluginInstance::stereoBuses()
{
    return BusesProperties()
        .withInput ("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput ("Output", juce::AudioChannelSet::stereo(), true);
}

Eq713kPluginInstance::Eq713kPluginInstance()
    // The manager exists before the processor base, which then offers its host parameters.
    : juce::HvPluginInstance (std::make_unique<Eq713kParamsManager> (*this), stereoBuses()),
      productManager (static_cast<Eq713kParamsManager&> (getParamsManager()))
{
    connectedBarrier = std::make_unique<juce::ThreadBarierNonAutomatableParameter> (productManager, ParamData::IS_CONNECTED);

    midiManager = juce::MidiManager::getInstance();
    midiManager->registerPluginInstance();

    if (! midiManager->isInitialised())
    {
        juce::StringArray unitNames { "Halvorstine 713K" };
        midiManager->initialize (unitNames);
    }

    startTimer (pollIntervalMs);
    MessageThreadHold::release();
}

Eq713kPluginInstance::~Eq713kPluginInstance()
{
    // Held until the last base is gone.
    MessageThreadHold::hold();

    stopTimer();
    disconnect();
    stopTimer();

    if (midiManager != nullptr)
        midiManager->unregisterPluginInstance();

    midiManager = nullptr;
    bridge.reset();
    connectedBarrier.reset();
}

void Eq713kPluginInstance::timerCallback()
{
    if (productManager.getNonAutomatableParamValue (ParamData::SHOULD_BE_CONNECTED) == juce::var (false))
        return;

    stopTimer();

    if (productManager.getNonAutomatableParamValue (ParamData::IS_CONNECTED) != juce::var (false) || midiManager == nullptr)
    {
        startTimer (pollIntervalMs);
        return;
    }

    auto candidate = std::make_unique<Eq713kMidiBridge> (*this, productManager);
    auto serialNumber = static_cast<int> (productManager.getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN));

    if (serialNumber != -1)
    {
        // Waits for that very unit, however many others there are.
        if (! midiManager->connectIfSerialNo (serialNumber, candidate.get()))
        {
            startTimer (pollIntervalMs);
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

        startTimer (pollIntervalMs);
        return;
    }

    bridge = std::move (candidate);
    productManager.setNonAutomatableParamValue (nullptr, ParamData::IS_CONNECTED, true);
}

bool Eq713kPluginInstance::hasFreeUnit() const
{
    const auto units = midiManager->getConnectionList();

    for (auto* unit : *units)
        if (unit->owner == nullptr)
            return true;

    return false;
}

void Eq713kPluginInstance::connectWithDevice (int serialNumber)
{
    productManager.setNonAutomatableParamValue (nullptr, ParamData::CONNECTED_DEV_SN, serialNumber);

    if (productManager.getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true))
        disconnect();

    timerCallback();
}

void Eq713kPluginInstance::disconnect()
{
    if (bridge != nullptr)
    {
        if (midiManager != nullptr)
            midiManager->disconnect (bridge.get());

        bridge->setConnectedMidiDevice (nullptr);
        bridge.reset();
    }

    startTimer (pollIntervalMs);
}

void Eq713kPluginInstance::connectionLost()
{
    if (connectedBarrier != nullptr)
        connectedBarrier->setParamValue (false);

    startTimer (pollIntervalMs);
}

const juce::String Eq713kPluginInstance::getName() const
{
    return "Halvorstine EQ713K";
}

juce::StringArray Eq713kPluginInstance::getAlternateDisplayNames() const
{
    return { "Eq713k", "EQ 713K", "Halvorstine EQ 713K" };
}

bool Eq713kPluginInstance::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    // Mono to mono or stereo to stereo, as the unit's two channels are used.
    const auto in = layouts.getMainInputChannelSet();
    const auto out = layouts.getMainOutputChannelSet();

    return in == out && (in == juce::AudioChannelSet::mono() || in == juce::AudioChannelSet::stereo());
}

juce::int32 Eq713kPluginInstance::getPluginIDForMainBusConfig (const juce::AudioChannelSet& in,
                                                              const juce::AudioChannelSet& out,
                                                              bool idForOfflineVariant) const
{
    if (in == juce::AudioChannelSet::mono() && out == juce::AudioChannelSet::mono())
        return fourCharCode ("jcaa");

    if (in == juce::AudioChannelSet::stereo() && out == juce::AudioChannelSet::stereo())
        return fourCharCode ("jcab");

    return idForOfflineVariant ? fourCharCode ("jyaa") : fourCharCode ("jcaa");
}

juce::int32 Eq713kPluginInstance::getAAXPluginIDForMainBusConfig (const juce::AudioChannelSet& in,
                                                                 const juce::AudioChannelSet& out,
                                                                 bool idForAudioSuite) const
{
    return getPluginIDForMainBusConfig (in, out, idForAudioSuite);
}

void Eq713kPluginInstance::getStateInformation (juce::MemoryBlock& destData)
{
    // From the block's start: it ends up exactly as long as the stream.
    juce::MemoryOutputStream out (destData, false);
    productManager.getStateInformation().writeToStream (out);
}

void Eq713kPluginInstance::setStateInformation (const void* data, int sizeInBytes)
{
    stateRestore.restore (data, sizeInBytes);
}

void Eq713kPluginInstance::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    getStateInformation (destData);
}

void Eq713kPluginInstance::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    setStateInformation (data, sizeInBytes);
}

void Eq713kPluginInstance::commandFallback (std::unique_ptr<juce::HvCommand> command)
{
    presetCommands.commandFallback (std::move (command));
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Eq713kPluginInstance();
}
