#pragma once

#include "core/HvParamsManager.h"

#include <juce_events/juce_events.h>

namespace juce
{

/** Sets one non-automatable setting from any thread: the latest value handed in is applied
    to the manager on the message thread, with no source, unless it equals the current one.
*/
class ThreadBarierNonAutomatableParameter : private AsyncUpdater
{
public:
    ThreadBarierNonAutomatableParameter (HvParamsManager& manager, int id);
    ~ThreadBarierNonAutomatableParameter() override;

    /** Any thread. */
    void setParamValue (const var& newValue);

    /** Message thread: applies a value still waiting now rather than later. */
    void applyNow() { handleUpdateNowIfNeeded(); }

    int getId() const noexcept { return id; }

private:
    void handleAsyncUpdate() override;

    HvParamsManager& manager;
    const int id;

    // Guards only the pending var, which is not atomic; never held while calling out.
    SpinLock lock;
    var pending;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ThreadBarierNonAutomatableParameter)
};

} // namespace juce
