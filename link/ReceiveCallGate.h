#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

/** Counts the calls made on the platform's receive thread, so that the message thread can
    wait, without a lock on the receive path, until every call that may still see an object
    it has just unpublished has returned. The calls of one port come one at a time. */
class ReceiveCallGate
{
public:
    /** Receive thread: brackets one call. */
    void enter() noexcept { callsBegun.fetch_add (1); }
    void leave() noexcept { callsEnded.fetch_add (1); }

    /** Returns once every call begun before this one was made has left. */
    void waitForCallsInFlight() const noexcept;

private:
    std::atomic<juce::uint64> callsBegun { 0 };
    std::atomic<juce::uint64> callsEnded { 0 };
};
