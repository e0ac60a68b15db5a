#pragma once

#include "core/CommandManager.h"
#include "core/Eq713kParamsManager.h"
#include "core/PresetCommands.h"
#include "core/StateRestoreHandOver.h"
#include "link/Eq713kMidiBridge.h"
#include "link/MidiManager.h"

#include <atomic>
#include <memory>

/** The parts of one plug-in instance that work on the message thread: the connection poll and
    the unit's bridge, the command queue with the preset commands, and the hand-over of the
    states the host saves and restores.

    Built with the instance on whatever thread the host builds it. The host's processor
    (Eq713kPluginInstance) may be destroyed on the host's thread while the message thread is
    busy, even waiting for that host: so this part is started, stopped and deleted on the
    message thread, after the processor has handed it over, and it never calls the processor.
*/
class Eq713kInstanceCore : public juce::CommandManager,
                           public juce::Timer,
                           public Eq713kMidiBridge::Instance
{
public:
    explicit Eq713kInstanceCore (Eq713kParamsManager& manager);
    ~Eq713kInstanceCore() override;

    static constexpr int pollIntervalMs = 1000;

    /** Message thread: joins the MIDI manager and starts the poll. */
    void start();

    /** Message thread: stops the poll, gives the unit back and leaves the MIDI manager. */
    void stop();

    /** The connection poll: while the instance should be connected and is not, it asks the
        MIDI manager for its remembered unit, or the only free one. */
    void timerCallback() override;

    /** Remembers the unit and connects to it at the next poll (the device selector). */
    void connectWithDevice (int serialNumber);

    /** Gives the unit back; the poll goes on ("SHOULD BE CONNECTED" decides). */
    void disconnect();

    /** Any thread: the unit is gone; "IS CONNECTED" becomes false on the message thread. */
    void connectionLost() override;

    /** The current connection's bridge, or nullptr. */
    Eq713kMidiBridge* getBridge() const noexcept { return bridge.get(); }

    /** Runs the preset commands and keeps an unclaimed "showDeviceSelector". */
    void commandFallback (std::unique_ptr<juce::HvCommand> command) override;

    PresetCommands& getPresetCommands() noexcept { return presetCommands; }
    StateRestoreHandOver& getStateHandOver() noexcept { return stateHandOver; }

private:
    bool hasFreeUnit() const;

    /** Restarts the poll, unless stopped. */
    void pollAgainLater();

    Eq713kParamsManager& productManager;
    StateRestoreHandOver stateHandOver { productManager };
    PresetCommands presetCommands { stateHandOver };

    std::unique_ptr<juce::ThreadBarierNonAutomatableParameter> connectedBarrier;
    juce::MidiManager* midiManager = nullptr;
    std::unique_ptr<Eq713kMidiBridge> bridge;
    std::atomic<bool> stopped { false };

    JUCE_DECLARE_WEAK_REFERENCEABLE (Eq713kInstanceCore)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kInstanceCore)
};
