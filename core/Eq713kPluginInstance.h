#pragma once

#include "core/Eq713kInstanceCore.h"
#include "core/Eq713kParamsManager.h"
#include "core/HvPluginInstance.h"
#include "editor/EditorInstance.h"

#include <atomic>
#include <memory>

/** The plug-in instance the host creates: the parameters and settings, audio passed through
    untouched.

    The host may build, save, restore and destroy it on a thread of its own, never the
    message thread, and may hold its own locks while it does: none of these calls waits for
    the message thread. What works on the message thread is the instance's core
    (Eq713kInstanceCore), which the message thread starts after the instance is built and
    stops and deletes after the instance is gone; the calls of the editor and the device
    selector below go to it.
*/
class Eq713kPluginInstance : public juce::HvPluginInstance,
                             public juce::VST3ClientExtensions,
                             public EditorInstance
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

    /** The LV2 wrapper prepares the instance once, as soon as it listens to the host
        parameters: the host is then told every value (see reportValuesToLv2Host). */
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;

    bool hasEditor() const override { return true; }

    /** The host's view owns the editor; it is built on the message thread (or with it held). */
    juce::AudioProcessorEditor* createEditor() override;

    juce::AudioProcessor& getAudioProcessor() noexcept override { return *this; }

    /** Message thread: the editor registers itself while it lives. */
    void editorOpened (Eq713kAudioProcessorEditor& editor) override;
    void editorClosed (Eq713kAudioProcessorEditor& editor) override;

    /** The VST3 host's component handler, which the editor asks for the host's run loop
        (see HostRunLoopLink); nullptr in the other formats. */
    void setIComponentHandler (Steinberg::FUnknown* handler) override { componentHandler = handler; }
    Steinberg::FUnknown* getVst3ComponentHandler() const noexcept override { return componentHandler; }

    /** Message thread: the editors open now, oldest first. */
    const juce::Array<Eq713kAudioProcessorEditor*>& getOpenEditors() const noexcept { return openEditors; }

    /** Message thread: remembers the unit and connects to it at the next poll. */
    void connectWithDevice (int serialNumber) { core->connectWithDevice (serialNumber); }

    /** Message thread: gives the unit back; the poll goes on. */
    void disconnect() { core->disconnect(); }

    /** Any thread: the unit is gone. */
    void connectionLost() { core->connectionLost(); }

    /** The current connection's bridge, or nullptr. */
    Eq713kMidiBridge* getBridge() const noexcept { return core->getBridge(); }

    /** The command queue (message thread). */
    void sendCommand (std::unique_ptr<juce::HvCommand> command) override { core->sendCommand (std::move (command)); }
    void addCommandListener (juce::CommandListener* listener) override { core->addCommandListener (listener); }
    void removeCommandListener (juce::CommandListener* listener) override { core->removeCommandListener (listener); }

    /** Message thread: the units the MIDI manager lists, and whose they are. */
    juce::Array<Unit> getUnits() const override;

    /** Message thread: the user's connect and disconnect, kept in "SHOULD BE CONNECTED". */
    void connectToUnit (int serialNumber) override;
    void disconnectFromUnit() override;

    void addUnitListListener (UnitListListener* listener) override;
    void removeUnitListListener (UnitListListener* listener) override;

    /** The preset commands, whose file chooser a test answers itself. */
    PresetCommands& getPresetCommandsForTests() noexcept { return core->getPresetCommands(); }

    /** Any thread: the state block, the state tree in the framework's value-tree stream form;
        restored settings still on their way to the store are written as they will be. */
    void getStateInformation (juce::MemoryBlock& destData) override;

    /** Any thread: in force when it returns (see StateRestoreHandOver). */
    void setStateInformation (const void* data, int sizeInBytes) override;

    // One program: its state is the plug-in's state.
    void getCurrentProgramStateInformation (juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation (const void* data, int sizeInBytes) override;

private:
    static BusesProperties stereoBuses();

    /** Whether the host's wrapper has the host parameters tell it the restored values; the
        VST3 wrapper reads every value back itself once a restore returns. */
    bool wrapperWantsRestoredValuesReported() const noexcept;

    class UnitListRelay;

    /** Tells the LV2 wrapper every host parameter's value, as a value change without a gesture;
        it passes them to the host with its next audio block. An LV2 host has no other way to
        learn them: the wrapper offers the parameters as properties, whose values a host either
        starts at zero or asks for, and the wrapper does not answer the asking. */
    void reportValuesToLv2Host();

    Eq713kParamsManager& productManager;
    std::unique_ptr<Eq713kInstanceCore> core;
    std::unique_ptr<UnitListRelay> unitListRelay;
    juce::Array<Eq713kAudioProcessorEditor*> openEditors;
    std::atomic<Steinberg::FUnknown*> componentHandler { nullptr };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kPluginInstance)
};
