#include "core/MessageThreadTask.h"

class MessageThreadTask::Message : public juce::MessageManager::MessageBase
{
public:
    Message (std::unique_ptr<Callable> taskToRun, bool runWhenDiscarded)
        : task (std::move (taskToRun)), runIfDiscarded (runWhenDiscarded)
    {
    }

    ~Message() override
    {
        // Never delivered: the message loop is gone, or could not take the message.
        if (task != nullptr && runIfDiscarded)
            task->call();
    }

    void messageCallback() override
    {
        if (auto taken = std::move (task))
            taken->call();
    }

private:
    std::unique_ptr<Callable> task;
    const bool runIfDiscarded;
};

bool MessageThreadTask::mayRunHere()
{
    auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
    return messageManager == nullptr || messageManager->currentThreadHasLockedMessageManager();
}

void MessageThreadTask::post (std::unique_ptr<Callable> task, bool runIfDiscarded)
{
    if (mayRunHere())
    {
        task->call();
        return;
    }

    // A message that cannot be posted is deleted at once, which runs a tear-down here.
    (new Message (std::move (task), runIfDiscarded))->post();
}
