#include "core/CallGate.h"

#include <thread>

CallGate::Entry CallGate::enter() noexcept
{
    for (;;)
    {
        const auto slot = currentSlot.load();
        inside[slot].fetch_add (1);

        // A wait that moved the slot on meanwhile may already have found this one empty.
        if (currentSlot.load() != slot)
        {
            inside[slot].fetch_sub (1);
            continue;
        }

        // Counted before the check, as close() clears before any wait counts: either the call
        // sees the gate closed, or the wait sees the call inside.
        if (! open.load())
        {
            inside[slot].fetch_sub (1);
            return {};
        }

        return Entry (*this, slot);
    }
}

void CallGate::waitForCallsInside() noexcept
{
    const auto slot = currentSlot.load();
    currentSlot.store (1 - slot);

    while (inside[slot].load() != 0)
        std::this_thread::yield();
}
