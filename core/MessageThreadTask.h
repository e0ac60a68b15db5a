#pragma once

#include <juce_events/juce_events.h>

#include <memory>
#include <utility>

/** Work that must run on the message thread, handed over by a host's thread without waiting.

    Hosts build, use and destroy instances on threads of their own while the message thread
    runs beside them, and the message thread may at that moment be waiting for the host (inside
    a call that reports a change to it). So the host's thread never waits for the message
    thread: it posts the work, and the message thread runs it when it comes to it.
*/
class MessageThreadTask
{
public:
    /** Whether this thread may do the message thread's work itself: it is the message thread,
        it holds the message thread still, or there is no message loop at all. */
    static bool mayRunHere();

    /** Runs the task now when this thread may, otherwise posts it. A posted task that the
        message loop never gets to is dropped. */
    template <typename Task>
    static void run (Task&& task)
    {
        post (std::make_unique<Holder<std::decay_t<Task>>> (std::forward<Task> (task)), false);
    }

    /** The same for a tear-down that must happen whatever comes: if the message loop ends
        before it gets to it, it runs when the loop's queue is discarded, when no message
        thread runs any more. */
    template <typename Task>
    static void runTearDown (Task&& task)
    {
        post (std::make_unique<Holder<std::decay_t<Task>>> (std::forward<Task> (task)), true);
    }

private:
    struct Callable
    {
        virtual ~Callable() = default;
        virtual void call() = 0;
    };

    template <typename Task>
    struct Holder : Callable
    {
        explicit Holder (Task&& t) : task (std::move (t)) {}
        explicit Holder (const Task& t) : task (t) {}
        void call() override { task(); }
        Task task;
    };

    class Message;

    static void post (std::unique_ptr<Callable> task, bool runIfDiscarded);
};
