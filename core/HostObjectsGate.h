#pragma once

#include <atomic>

/** The message thread's way into the objects that the host owns and destroys on a thread of
    its own (an instance's host parameters): a call goes in only while they exist, and their
    destruction waits for the calls already inside and for nothing else.

    Lock order: destroying the host's objects waits only for a call into them that the message
    thread has already begun (a change or a gesture being reported to the host), never for the
    message thread as such. A host therefore must not destroy an instance while it holds a lock
    that this same instance's report is waiting for; no other instance, and no other work of
    the message thread, can hold the destruction up.
*/
class HostObjectsGate
{
public:
    /** Holds the gate open while it lives; false when the objects are gone. */
    class Entry
    {
    public:
        Entry() = default;
        Entry (Entry&& other) noexcept : gate (other.gate) { other.gate = nullptr; }
        Entry& operator= (Entry&&) = delete;
        ~Entry() { if (gate != nullptr) gate->inside.fetch_sub (1); }

        explicit operator bool() const noexcept { return gate != nullptr; }

    private:
        friend class HostObjectsGate;
        explicit Entry (HostObjectsGate& g) noexcept : gate (&g) {}

        HostObjectsGate* gate = nullptr;
    };

    /** Message thread. */
    Entry enter() noexcept;

    /** Any thread, before the host's objects go: no call goes in afterwards, and the calls
        inside have left when it returns. On the message thread nothing is waited for: a call
        inside is then one that this very thread is making. */
    void close() noexcept;

    bool isOpen() const noexcept { return open.load(); }

private:
    std::atomic<bool> open { true };
    std::atomic<int> inside { 0 };
};
