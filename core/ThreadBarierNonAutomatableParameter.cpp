#include "core/ThreadBarierNonAutomatableParameter.h"

namespace juce
{

ThreadBarierNonAutomatableParameter::ThreadBarierNonAutomatableParameter (HvParamsManager& owner, int settingId)
    : manager (owner), id (settingId)
{
}

ThreadBarierNonAutomatableParameter::~ThreadBarierNonAutomatableParameter()
{
    cancelPendingUpdate();
}

void ThreadBarierNonAutomatableParameter::setParamValue (const var& newValue)
{
    cancelPendingUpdate();

    var previous (newValue);
    {
        const SpinLock::ScopedLockType hold (lock);
        std::swap (pending, previous);
    }

    // The old pending value is released outside the lock.
    previous = var();

    triggerAsyncUpdate();
}

void ThreadBarierNonAutomatableParameter::handleAsyncUpdate()
{
    var latest;
    {
        const SpinLock::ScopedLockType hold (lock);
        latest = pending;
    }

    if (manager.getNonAutomatableParamValue (id) == latest)
        return;

    manager.setNonAutomatableParamValue (nullptr, id, latest);
}

} // namespace juce
