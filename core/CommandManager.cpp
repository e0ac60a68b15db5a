#include "core/CommandManager.h"

namespace juce
{

CommandManager::CommandManager() = default;

CommandManager::~CommandManager()
{
    asyncCallback.cancelPendingUpdate();
    queue.clear();
}

void CommandManager::commandFallback (std::unique_ptr<HvCommand>)
{
}

void CommandManager::sendCommand (std::unique_ptr<HvCommand> command)
{
    JUCE_ASSERT_MESSAGE_MANAGER_IS_LOCKED

    if (command == nullptr)
        return;

    queue.add (command.release());
    asyncCallback.triggerAsyncUpdate();
}

void CommandManager::addCommandListener (CommandListener* listener)
{
    JUCE_ASSERT_MESSAGE_MANAGER_IS_LOCKED

    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void CommandManager::removeCommandListener (CommandListener* listener)
{
    JUCE_ASSERT_MESSAGE_MANAGER_IS_LOCKED
    listeners.removeFirstMatchingValue (listener);
}

void CommandManager::deliverOldestCommand()
{
    if (queue.isEmpty())
        return;

    std::unique_ptr<HvCommand> command (queue.removeAndReturn (0));

    if (! offerToListeners (*command))
        commandFallback (std::move (command));

    command.reset();

    // One command per callback, so that a command sent while this one was handled waits its turn.
    if (! queue.isEmpty())
        asyncCallback.triggerAsyncUpdate();
}

bool CommandManager::offerToListeners (HvCommand& command)
{
    // A listener may remove others, or itself, while it is asked: walk a copy and skip those
    // no longer registered, so that nobody is asked twice and no removed listener is called.
    const auto snapshot = listeners;

    for (int i = snapshot.size(); --i >= 0;)
    {
        auto* listener = snapshot.getUnchecked (i);

        if (listeners.contains (listener) && listener->commandListenerCallback (&command))
            return true;
    }

    return false;
}

} // namespace juce
