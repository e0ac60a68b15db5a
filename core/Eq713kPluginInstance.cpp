#include "core/Eq713kPluginInstance.h"

#include "core/MessageThreadTask.h"
#include "core/ParamData.h"
#include "core/StandaloneQuitSignals.h"
#include "editor/Eq713kAudioProcessorEditor.h"

namespace
{

constexpr juce::int32 fourCharCode (const char (&code)[5])
{
    return (juce::int32) (((juce::uint32) (juce::uint8) code[0] << 24) | ((juce::uint32) (juce::uint8) code[1] << 16)
                        | ((juce::uint32) (juce::uint8) code[2] << 8) | (juce::uint32) (juce::uint8) code[3]);
}

} // namespace

/** Passes the MIDI manager's news of its list on to the instance's listeners; it listens to
    the manager only while it has listeners of its own. Message thread only. */
class Eq713kPluginInstance::UnitListRelay : public juce::MidiManager::ConnectionListListener
{
public:
    ~UnitListRelay() override
    {
        if (! listeners.isEmpty())
            juce::MidiManager::removeConnectionListListener (this);
    }

    void add (UnitListListener* listener)
    {
        if (listeners.isEmpty())
            juce::MidiManager::addConnectionListListener (this);

        listeners.add (listener);
    }

    void remove (UnitListListener* listener)
    {
        listeners.remove (listener);

        if (listeners.isEmpty())
            juce::MidiManager::removeConnectionListListener (this);
    }

    void connectionListChanged() override { listeners.call ([] (UnitListListener& l) { l.unitListChanged(); }); }

private:
    juce::ListenerList<UnitListListener> listeners;
};

juce::AudioProcessor::BusesProperties Eq713kPluginInstance::stereoBuses()
{
    return BusesProperties()
        .withInput ("Input", juce::AudioChannelSet::stereo(), true)
        .withOutput ("Output", juce::AudioChannelSet::stereo(), true);
}

Eq713kPluginInstance::Eq713kPluginInstance()
    // The manager exists before the processor base, which then offers its host parameters.
    : juce::HvPluginInstance (std::make_unique<Eq713kParamsManager>(), stereoBuses()),
      productManager (static_cast<Eq713kParamsManager&> (getParamsManager())),
      core (std::make_unique<Eq713kInstanceCore> (productManager)),
      unitListRelay (std::make_unique<UnitListRelay>())
{
    // The Standalone program saves the state when it is ended by a signal too.
    if (wrapperType == wrapperType_Standalone)
        MessageThreadTask::run ([] { StandaloneQuitSignals::install(); });

    // Last: from here on the message thread may run the core's timer and updates.
    MessageThreadTask::run ([weakCore = juce::WeakReference<Eq713kInstanceCore> (core.get())]
    {
        if (auto* coreToStart = weakCore.get())
            coreToStart->start();
    });
}

Eq713kPluginInstance::~Eq713kPluginInstance()
{
    // Every host closes its editors first: they use the instance and its manager.
    jassert (openEditors.isEmpty());

    // Taking the manager detaches the host parameters, which go with this processor: nothing
    // calls them afterwards, and this waits only for a report into them that the message
    // thread may be making right now. The core and the manager are stopped and deleted where
    // their timers and updates run, after any of those already queued.
    MessageThreadTask::runTearDown ([coreToStop = std::move (core), manager = releaseParamsManager()]() mutable
    {
        coreToStop->stop();
        coreToStop.reset();
        manager.reset();
    });
}

void Eq713kPluginInstance::prepareToPlay (double, int)
{
    // Audio passes through untouched: nothing to prepare.
    if (wrapperType == wrapperType_LV2)
        reportValuesToLv2Host();
}

void Eq713kPluginInstance::reportValuesToLv2Host()
{
    for (auto* parameter : getParameters())
        parameter->sendValueChangedMessageToListeners (parameter->getValue());
}

juce::AudioProcessorEditor* Eq713kPluginInstance::createEditor()
{
    return new Eq713kAudioProcessorEditor (*this, productManager);
}

void Eq713kPluginInstance::editorOpened (Eq713kAudioProcessorEditor& editor)
{
    openEditors.addIfNotAlreadyThere (&editor);
}

void Eq713kPluginInstance::editorClosed (Eq713kAudioProcessorEditor& editor)
{
    openEditors.removeFirstMatchingValue (&editor);
}

juce::Array<EditorInstance::Unit> Eq713kPluginInstance::getUnits() const
{
    juce::Array<Unit> units;
    auto* midiManager = juce::MidiManager::getInstanceWithoutCreating();

    if (midiManager == nullptr)
        return units;

    const juce::MidiDevice::Listener* bridge = getBridge();
    const auto listedNow = midiManager->getConnectionList();

    for (const auto* listed : *listedNow)
    {
        auto holder = UnitHolder::anotherInstance;

        if (listed->status == juce::MidiManager::ConnectionStatus::available)
            holder = UnitHolder::nobody;
        else if (listed->status == juce::MidiManager::ConnectionStatus::inUse && bridge != nullptr && listed->owner == bridge)
            holder = UnitHolder::thisInstance;

        units.add ({ listed->serialNo, holder });
    }

    return units;
}

void Eq713kPluginInstance::connectToUnit (int serialNumber)
{
    productManager.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, true);
    core->connectWithDevice (serialNumber);
}

void Eq713kPluginInstance::disconnectFromUnit()
{
    productManager.setNonAutomatableParamValue (nullptr, ParamData::SHOULD_BE_CONNECTED, false);
    core->disconnect();
}

void Eq713kPluginInstance::addUnitListListener (UnitListListener* listener)
{
    unitListRelay->add (listener);
}

void Eq713kPluginInstance::removeUnitListListener (UnitListListener* listener)
{
    unitListRelay->remove (listener);
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
    core->getStateHandOver().writeState (destData);
}

void Eq713kPluginInstance::setStateInformation (const void* data, int sizeInBytes)
{
    core->getStateHandOver().restore (data, sizeInBytes, wrapperWantsRestoredValuesReported());
}

bool Eq713kPluginInstance::wrapperWantsRestoredValuesReported() const noexcept
{
    // The VST3 wrapper reads each parameter's value back as soon as the restore returns and
    // tells the host itself. Its parameter listeners call into the host while they hold the
    // parameter's listener lock, which reporting takes: a restore reports to the other
    // wrappers only, whose listeners never wait for the host (LV2 keeps the value for the
    // next audio block) or whose host restores on the message thread (Audio Unit).
    return wrapperType != wrapperType_VST3;
}

void Eq713kPluginInstance::getCurrentProgramStateInformation (juce::MemoryBlock& destData)
{
    getStateInformation (destData);
}

void Eq713kPluginInstance::setCurrentProgramStateInformation (const void* data, int sizeInBytes)
{
    setStateInformation (data, sizeInBytes);
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Eq713kPluginInstance();
}
