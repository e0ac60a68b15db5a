#pragma once

#include <juce_events/juce_events.h>

#include <memory>

class Eq713kParamsManager;

/** Hands a state block that a host restores on some other thread to the message thread,
    where every listener of the parameter store runs.

    From the message thread a block is restored at once. From any other thread it is
    copied and restored later on the message thread; of several blocks arriving before
    then, the latest is restored. Either way the parameters come first and the settings
    after them, as a restore on the message thread orders them.
*/
class StateRestoreHandOver : private juce::AsyncUpdater
{
public:
    explicit StateRestoreHandOver (Eq713kParamsManager& manager);

    /** A block still waiting is dropped. */
    ~StateRestoreHandOver() override;

    /** Any thread. */
    void restore (const void* data, int sizeInBytes);

private:
    void handleAsyncUpdate() override;

    Eq713kParamsManager& manager;

    // Guards only the pointer swap; the copy and the restore happen outside it.
    juce::SpinLock lock;
    std::unique_ptr<juce::MemoryBlock> pending;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateRestoreHandOver)
};
