#include "core/HostObjectsGate.h"

#include <juce_events/juce_events.h>

#include <thread>

HostObjectsGate::Entry HostObjectsGate::enter() noexcept
{
    // Counted before the check, as close() clears before it counts: either the call sees the
    // gate closed, or close() sees the call inside.
    inside.fetch_add (1);

    if (! open.load())
    {
        inside.fetch_sub (1);
        return {};
    }

    return Entry (*this);
}

void HostObjectsGate::close() noexcept
{
    open.store (false);

    if (juce::MessageManager::existsAndIsCurrentThread())
        return;

    while (inside.load() != 0)
        std::this_thread::yield();
}
