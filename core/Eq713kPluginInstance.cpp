#include "core/Eq713kPluginInstance.h"

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
    MessageThreadHold::release();
}

Eq713kPluginInstance::~Eq713kPluginInstance()
{
    // Held until the last base is gone.
    MessageThreadHold::hold();
    stopTimer();
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
