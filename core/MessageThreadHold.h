#pragma once

#include <juce_events/juce_events.h>

#include <memory>

/** Keeps the message thread between two of its messages while held from another thread.

    Some hosts build and destroy a plug-in on a thread of their own while the framework's
    message thread runs beside it (the LV2 wrapper on Linux does so): the instance's
    timers, asynchronous updates and action messages must not run while it is half built or
    half destroyed. On the message thread itself, holding does nothing.
*/
class MessageThreadHold
{
public:
    MessageThreadHold() { hold(); }
    ~MessageThreadHold() { release(); }

    void hold();
    void release() { lock.reset(); }

private:
    std::unique_ptr<juce::MessageManagerLock> lock;

    JUCE_DECLARE_NON_COPYABLE (MessageThreadHold)
};
