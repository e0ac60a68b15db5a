#pragma once

#include "core/CommandListener.h"
#include "core/HvCommand.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

class Eq713kAudioProcessorEditor;

/** The instance as its editor sees it: the processor the editor belongs to, the open editors'
    register, the command queue and the units the instance may connect to. The instance
    implements it; the editor knows nothing else of it. Message thread only.
*/
class EditorInstance
{
public:
    /** Who holds a listed unit. */
    enum class UnitHolder
    {
        nobody,
        thisInstance,
        anotherInstance
    };

    struct Unit
    {
        int serialNumber = 0;
        UnitHolder holder = UnitHolder::nobody;
    };

    /** Told when units come, go or change hands. */
    class UnitListListener
    {
    public:
        virtual ~UnitListListener() = default;
        virtual void unitListChanged() = 0;
    };

    virtual ~EditorInstance() = default;

    virtual juce::AudioProcessor& getAudioProcessor() noexcept = 0;

    virtual void editorOpened (Eq713kAudioProcessorEditor& editor) = 0;
    virtual void editorClosed (Eq713kAudioProcessorEditor& editor) = 0;

    /** The VST3 host's component handler, which the editor asks for the host's run loop
        (see HostRunLoopLink); nullptr in the other formats. */
    virtual Steinberg::FUnknown* getVst3ComponentHandler() const noexcept = 0;

    /** The instance's command queue. */
    virtual void sendCommand (std::unique_ptr<juce::HvCommand> command) = 0;
    virtual void addCommandListener (juce::CommandListener* listener) = 0;
    virtual void removeCommandListener (juce::CommandListener* listener) = 0;

    /** The units listed now, in the list's order; none before the instance has started. */
    virtual juce::Array<Unit> getUnits() const = 0;

    /** The user's choice: the instance should be connected to this unit, from the next poll on. */
    virtual void connectToUnit (int serialNumber) = 0;

    /** The user's choice: the instance gives its unit back and stays unconnected. */
    virtual void disconnectFromUnit() = 0;

    /** Also before the instance has started. */
    virtual void addUnitListListener (UnitListListener* listener) = 0;
    virtual void removeUnitListListener (UnitListListener* listener) = 0;
};
