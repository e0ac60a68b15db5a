#include "editor/HostRunLoopLink.h"

#include <juce_events/juce_events.h>

#if JUCE_LINUX || JUCE_BSD

#include <juce_events/native/juce_linux_EventLoopInternal.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wshadow-field-in-constructor", "-Wnon-virtual-dtor", "-Wzero-as-null-pointer-constant",
                                     "-Wold-style-cast", "-Wcast-align", "-Wsign-conversion", "-Wextra-semi", "-Wshadow",
                                     "-Wfloat-equal", "-Wunused-parameter", "-Wpedantic")
#include <pluginterfaces/base/funknown.h>
#include <pluginterfaces/gui/iplugview.h>
JUCE_END_IGNORE_WARNINGS_GCC_LIKE

#include <sys/epoll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <vector>

namespace
{

// The interface ids, spelled out: the SDK's definitions live in the VST3 wrapper's translation
// unit, which the other formats do not link.
const Steinberg::TUID funknownIid = INLINE_UID (0x00000000, 0x00000000, 0xC0000000, 0x00000046);
const Steinberg::TUID eventHandlerIid = INLINE_UID (0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);
const Steinberg::TUID runLoopIid = INLINE_UID (0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

bool sameIid (const Steinberg::TUID a, const Steinberg::TUID b)
{
    return std::equal (a, a + sizeof (Steinberg::TUID), b);
}

} // namespace

/** The epoll set over the framework's descriptors, and the handler the host calls when it has
    something to read. Reference counted, as the host may hold it a while. */
struct HostRunLoopLink::Registration final : public Steinberg::Linux::IEventHandler,
                                             private juce::LinuxEventLoopInternal::Listener
{
    explicit Registration (Steinberg::Linux::IRunLoop& loop) : runLoop (loop)
    {
        if (epollFd < 0)
            return;

        watchCurrentDescriptors();
        juce::LinuxEventLoopInternal::registerLinuxEventLoopListener (*this);
        registered = runLoop.registerEventHandler (this, epollFd) == Steinberg::kResultTrue;
    }

    ~Registration() override
    {
        juce::LinuxEventLoopInternal::deregisterLinuxEventLoopListener (*this);

        if (epollFd >= 0)
            ::close (epollFd);
    }

    /** Leaves the host's run loop and gives up the link's own reference. */
    void unlink()
    {
        if (registered)
            runLoop.unregisterEventHandler (this);

        registered = false;
        runLoop.release();
        release();
    }

    bool isRegistered() const noexcept { return registered; }

    void PLUGIN_API onFDIsSet (Steinberg::Linux::FileDescriptor) override
    {
        // The framework's callbacks belong to its message thread, which is the host's thread
        // once a view has been attached there.
        if (! juce::MessageManager::getInstance()->isThisTheMessageThread())
            return;

        epoll_event ready[16];
        const auto count = epoll_wait (epollFd, ready, (int) std::size (ready), 0);

        for (int i = 0; i < count; ++i)
            juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (ready[i].data.fd);
    }

    Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID asked, void** obj) override
    {
        if (sameIid (asked, funknownIid) || sameIid (asked, eventHandlerIid))
        {
            addRef();
            *obj = static_cast<Steinberg::Linux::IEventHandler*> (this);
            return Steinberg::kResultOk;
        }

        *obj = nullptr;
        return Steinberg::kNoInterface;
    }

    Steinberg::uint32 PLUGIN_API addRef() override { return (Steinberg::uint32) ++references; }

    Steinberg::uint32 PLUGIN_API release() override
    {
        const auto left = --references;

        if (left == 0)
            delete this;

        return (Steinberg::uint32) left;
    }

private:
    void fdCallbacksChanged() override { watchCurrentDescriptors(); }

    void watchCurrentDescriptors()
    {
        auto current = juce::LinuxEventLoopInternal::getRegisteredFds();
        std::sort (current.begin(), current.end());

        const std::lock_guard<std::mutex> lock (watchedLock);

        for (const auto fd : watched)
            if (! std::binary_search (current.begin(), current.end(), fd))
                epoll_ctl (epollFd, EPOLL_CTL_DEL, fd, nullptr);

        for (const auto fd : current)
        {
            if (std::binary_search (watched.begin(), watched.end(), fd))
                continue;

            epoll_event event {};
            event.events = EPOLLIN;
            event.data.fd = fd;

            // A number the framework closed and took again may still stand in the set.
            if (epoll_ctl (epollFd, EPOLL_CTL_ADD, fd, &event) != 0 && errno == EEXIST)
                epoll_ctl (epollFd, EPOLL_CTL_MOD, fd, &event);
        }

        watched = std::move (current);
    }

    Steinberg::Linux::IRunLoop& runLoop;
    const int epollFd = epoll_create1 (EPOLL_CLOEXEC);
    bool registered = false;
    std::atomic<int> references { 1 };

    std::mutex watchedLock;
    std::vector<int> watched;
};

HostRunLoopLink::HostRunLoopLink (Steinberg::FUnknown* hostObject)
{
    if (hostObject == nullptr)
        return;

    void* found = nullptr;

    if (hostObject->queryInterface (runLoopIid, &found) != Steinberg::kResultOk || found == nullptr)
        return;

    registration.reset (new Registration (*static_cast<Steinberg::Linux::IRunLoop*> (found)));

    if (! registration->isRegistered())
        registration.release()->unlink();
}

HostRunLoopLink::~HostRunLoopLink()
{
    if (registration != nullptr)
        registration.release()->unlink();
}

bool HostRunLoopLink::isLinked() const noexcept
{
    return registration != nullptr;
}

#else

struct HostRunLoopLink::Registration {};

HostRunLoopLink::HostRunLoopLink (Steinberg::FUnknown*) {}
HostRunLoopLink::~HostRunLoopLink() = default;
bool HostRunLoopLink::isLinked() const noexcept { return false; }

#endif
