#pragma once

#include <memory>

namespace Steinberg
{
class FUnknown;
}

/** Keeps the framework's event sources (its X connection, its message queue) served by a VST3
    host's run loop for as long as an editor is open.

    The framework's VST3 wrapper on Linux hands its descriptors to the host's run loop once for
    all editors of the plug-in; when any one view is removed it forgets the host's run loop for
    every view (all views share the one run loop, which the wrapper erases by value), and until
    another view is attached nobody reads the X connection or the message queue: the editors
    still open stop painting and taking clicks. Each editor therefore registers a handler of its
    own with the host's run loop: one descriptor (an epoll set over the framework's descriptors,
    kept current as they change) that the host watches and that hands whatever is ready to the
    framework's callbacks, on the host's thread, as the wrapper's own handler does. Where the
    wrapper's handler is still registered the two serve the same descriptors by turns; whichever
    comes second finds nothing left to read.

    The run loop is asked of the host's component handler, which Ardour also makes the view's
    frame. Without a run loop (another host, another format, another platform) it does nothing.
    Built and destroyed on the message thread. */
class HostRunLoopLink
{
public:
    /** hostObject: the host's object to ask for its run loop, or nullptr. */
    explicit HostRunLoopLink (Steinberg::FUnknown* hostObject);
    ~HostRunLoopLink();

    /** Whether a handler is registered with a host's run loop. */
    bool isLinked() const noexcept;

    struct Registration;

private:
    std::unique_ptr<Registration> registration;

    HostRunLoopLink (const HostRunLoopLink&) = delete;
    HostRunLoopLink& operator= (const HostRunLoopLink&) = delete;
};
