#pragma once

#include "core/CommandManager.h"
#include "core/Eq713kParamsManager.h"
#include "core/HvPluginInstance.h"
#include "core/MessageThreadHold.h"
#include "core/PresetCommands.h"
#include "core/StateRestoreHandOver.h"

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

    void timerCallback() override {}

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

    Eq713kParamsManager& productManager;
    StateRestoreHandOver stateRestore { productManager };
    PresetCommands presetCommands { *this, productManager };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kPluginInstance)
};
