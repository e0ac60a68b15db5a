#pragma once

#include "core/CommandManager.h"
#include "core/Eq713kParamsManager.h"
#include "core/HvPluginInstance.h"
#include "core/MessageThreadHold.h"
#include "core/PresetCommands.h"
#include "core/StateRestoreHandOver.h"
#include "link/Eq713kMidiBridge.h"
#include "link/MidiManager.h"

/** The plug-in instance the host creates: the parameters and settings, audio passed through
    untouched. */
class Eq713kPluginInstance : private MessageThreadHold, // first built, last destroyed
                             public juce::HvPluginInstance,
                             public juce::CommandManager,
                             public juce::Timer
{
public:
    Eq713kPluginInstance();
    ~Eq713kPluginInstance() override;

    Eq713kParamsManager& getProductManager() const noexcept { return productManager; }

    const juce::String getName() const override;
    juce::StringArray getAlternateDisplayNames() const override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    /** A four-character code for the main bus layout, packed big-endian. */
    juce::int32 getPluginIDForMainBusConfig (const juce::AudioChannelSet& mainInputLayout,
                                       const juce::AudioChannelSet& mainOutputLayout,
                                       bool idForOfflineVariant) const;
    juce::int32 getAAXPluginIDForMainBusConfig (const juce::AudioChannelSet& mainInputLayout,
                                          const juce::AudioChannelSet& mainOutputLayout,
                                          bool idForAudioSuite) const override;

    bool hasEditor() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }

    /** The connection poll: while the instance should be connected and is not, it asks the
        MIDI manager for its remembered unit, or the only free one. */
    void timerCallback() override;

    /** Remembers the unit and connects to it at the next poll (the device selector). */
    void connectWithDevice (int serialNumber);

    /** Gives the unit back; the poll goes on ("SHOULD BE CONNECTED" decides). */
    void disconnect();

    /** Any thread: the unit is gone; "IS CONNECTED" becomes false on the message thread. */
    void connectionLost();

    /** The current connection's bridge, or nullptr. */
    Eq713kMidiBridge* getBridge() const noexcept { return bridge.get(); }

    static constexpr int pollIntervalMs = 1000;

    /** The state block: the state tree in the framework's value-tree stream form. */
    void getStateInformation (juce::MemoryBlock& destData) override;

    /** Any thread; the state is applied on the message thread (parameters, then settings). */
    void setStateInformation (const void* data, int sizeInBytes) override;

    // One program: its state is the plug-in's state.
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

    /** Runs the preset commands and keeps an unclaimed "showDeviceSelector". */
    void commandFallback (std::unique_ptr<juce::HvCommand> command) override;

    PresetCommands& getPresetCommands() noexcept { return presetCommands; }

private:
    static BusesProperties stereoBuses();
    bool hasFreeUnit() const;

    Eq713kParamsManager& productManager;
    StateRestoreHandOver stateRestore { productManager };
    PresetCommands presetCommands { *this, productManager };

    std::unique_ptr<juce::ThreadBarierNonAutomatableParameter> connectedBarrier;
    juce::MidiManager* midiManager = nullptr;
    std::unique_ptr<Eq713kMidiBridge> bridge;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kPluginInstance)
};
