#include "support/MessagePump.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own Linux plug-in wrappers drain the message queue with this framework function.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace testing_support
{

void pumpPendingMessages()
{
    while (juce::dispatchNextMessageOnSystemQueue (true))
    {
    }
}

bool pumpUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeoutMs;

    for (;;)
    {
        while (juce::dispatchNextMessageOnSystemQueue (true))
            if (condition())
                return true;

        if (condition())
            return true;

        if (juce::Time::getMillisecondCounterHiRes() >= deadline)
            return false;

        juce::Thread::sleep (1);
    }
}

bool spinUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + timeoutMs;

    while (! condition())
    {
        if (juce::Time::getMillisecondCounterHiRes() >= deadline)
            return false;

        juce::dispatchNextMessageOnSystemQueue (true);
    }

    return true;
}

void pumpFor (int milliseconds)
{
    pumpUntil ([] { return false; }, milliseconds);
}

} // namespace testing_support
