#pragma once

#include "core/CommandListener.h"
#include "core/HvCommand.h"

#include <juce_events/juce_events.h>

#include <memory>

namespace juce
{

/** A queue of commands delivered on the message thread, one per callback, oldest first.

    Each command is offered to the listeners, the newest first, until one takes it; one that
    nobody takes goes to commandFallback. Message thread only, or a thread that holds the
    message thread still (a host builds and deletes editors so): there is no lock.
*/
class CommandManager
{
public:
    CommandManager();

    /** Commands still queued are deleted without being delivered. */
    virtual ~CommandManager();

    /** Receives every command no listener took; it may keep it. The default drops it. */
    virtual void commandFallback (std::unique_ptr<HvCommand> command);

    /** Queues the command; it is delivered later, never from inside this call. */
    void sendCommand (std::unique_ptr<HvCommand> command);

    /** A listener already registered is not added twice. */
    void addCommandListener (CommandListener* listener);
    void removeCommandListener (CommandListener* listener);

private:
    class CommandAsyncCallback : public AsyncUpdater
    {
    public:
        explicit CommandAsyncCallback (CommandManager& managerToDrain) : manager (managerToDrain) {}
        ~CommandAsyncCallback() override { cancelPendingUpdate(); }

        void handleAsyncUpdate() override { manager.deliverOldestCommand(); }

    private:
        CommandManager& manager;
    };

    void deliverOldestCommand();
    bool offerToListeners (HvCommand& command);

    CommandAsyncCallback asyncCallback { *this };
    Array<CommandListener*> listeners;
    OwnedArray<HvCommand> queue;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CommandManager)
};

} // namespace juce
