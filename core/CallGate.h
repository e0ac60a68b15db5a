#pragma once

#include <atomic>

/** Lets one thread wait, without a lock on the calls' path, until no call that may still reach
    an object it is about to delete is inside. Each call goes in through enter() and is inside
    while its Entry lives; waitForCallsInside() returns once every call that was inside when the
    wait began has left, and calls that begin meanwhile do not hold it up, however many follow.
    close() keeps every later call out for good.

    Calls may come from several threads at once and may nest; one thread at a time waits.
*/
class CallGate
{
public:
    /** Holds a call inside while it lives; false when the gate was closed and the call did
        not go in. */
    class Entry
    {
    public:
        Entry() = default;
        Entry (Entry&& other) noexcept : gate (other.gate), slot (other.slot) { other.gate = nullptr; }
        Entry& operator= (Entry&&) = delete;
        ~Entry() { if (gate != nullptr) gate->inside[slot].fetch_sub (1); }

        explicit operator bool() const noexcept { return gate != nullptr; }

    private:
        friend class CallGate;
        Entry (CallGate& g, int s) noexcept : gate (&g), slot (s) {}

        CallGate* gate = nullptr;
        int slot = 0;
    };

    Entry enter() noexcept;

    /** No call goes in afterwards; the calls inside are not waited for here. */
    void close() noexcept { open.store (false); }
    bool isOpen() const noexcept { return open.load(); }

    void waitForCallsInside() noexcept;

private:
    // A call counts itself in the slot current when it went in; a wait moves the later calls
    // to the other slot and waits for its own to empty.
    std::atomic<bool> open { true };
    std::atomic<int> currentSlot { 0 };
    std::atomic<int> inside[2] {};
};
