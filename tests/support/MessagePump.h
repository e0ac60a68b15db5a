#pragma once

#include <functional>

namespace testing_support
{

/** Runs the message thread's queue (the test's own thread) until the condition holds or the
    timeout passes; returns whether the condition held. */
bool pumpUntil (const std::function<bool()>& condition, int timeoutMs = 2000);

/** The same without ever pausing: for benchmarks, where the pause of pumpUntil (a
    millisecond while the queue is empty) would be most of what is measured. */
bool spinUntil (const std::function<bool()>& condition, int timeoutMs = 2000);

/** Runs every message that is pending now, and those they post, until the queue is empty. */
void pumpPendingMessages();

/** Keeps running the message queue for the given time. */
void pumpFor (int milliseconds);

} // namespace testing_support
