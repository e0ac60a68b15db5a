#pragma once

#include "core/HvParamsManager.h"

#include <juce_events/juce_events.h>

#include <utility>
#include <vector>

class Eq713kParamsManager;

/** The state calls of the host, on whatever thread the host makes them.

    A restore is in force when it returns: the parameters are stored, the host parameters hold
    their restored values, and a save made from then on writes the restored settings too. The
    host learns the values through its own state path, never as gestures or edits. The
    listeners of the store (the stereo linkers, the unit's objects, the editor) learn of the
    restore on the message thread only: at once when the restore is made there, otherwise
    from a later message-thread callback, as complete gestures under the host's restore
    source; the restored settings then follow through their hand-over objects.

    What is waiting for the message thread when the instance goes is dropped with it: the
    values are already in force, and the listeners and the unit that would have been told go
    with the instance.
*/
class StateRestoreHandOver : private juce::AsyncUpdater
{
public:
    explicit StateRestoreHandOver (Eq713kParamsManager& manager);
    ~StateRestoreHandOver() override;

    /** Any thread. With reportToHost the host parameters' listeners (the host's wrapper) are
        told the restored values on this thread, without gestures; a wrapper that reads every
        value back after the restore does not need it. */
    void restore (const void* data, int sizeInBytes, bool reportToHost);

    /** Message thread: a preset, applied as the user's edit (Eq713kParamsManager::
        setStateInformation); a host's restore still waiting is told first, so that the
        preset's settings are not followed by older ones. */
    void restorePreset (const void* data, int sizeInBytes);

    /** Any thread: the state block as it stands, with restored settings still on their way to
        the store written as they will be. */
    void writeState (juce::MemoryBlock& destData) const;

private:
    /** Restored and not yet told to the message thread's listeners. */
    struct Waiting
    {
        std::vector<int> parameters;
        std::vector<std::pair<int, juce::var>> settings;
        juce::uint64 generation = 0;
    };

    void handleAsyncUpdate() override;
    void announce (const std::vector<int>& ids);

    Eq713kParamsManager& manager;

    // Guards only copies and swaps of what is waiting; never held while calling out.
    juce::SpinLock lock;
    Waiting waiting;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateRestoreHandOver)
};
