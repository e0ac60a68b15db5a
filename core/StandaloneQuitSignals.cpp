#include "core/StandaloneQuitSignals.h"

#include <juce_events/juce_events.h>

#if JUCE_LINUX || JUCE_BSD
 #include <cerrno>
 #include <csignal>
 #include <fcntl.h>
 #include <unistd.h>
#endif

#if JUCE_LINUX || JUCE_BSD

namespace
{

// Written by the signal handler, read by the message thread.
int quitPipe[2] = { -1, -1 };

void onQuitSignal (int)
{
    // Only async-signal-safe calls here.
    const auto savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write (quitPipe[1], &byte, 1);
    errno = savedErrno;
}

void onQuitRequested (int fd)
{
    char bytes[16];
    while (::read (fd, bytes, sizeof (bytes)) > 0) {}

    // A second signal while quitting asks again, which saves again and quits again: harmless.
    if (auto* application = juce::JUCEApplicationBase::getInstance())
        application->systemRequestedQuit();
}

} // namespace

void StandaloneQuitSignals::install()
{
    JUCE_ASSERT_MESSAGE_THREAD

    static bool installed = false;

    if (installed)
        return;

    installed = true;

    if (::pipe2 (quitPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;

    juce::LinuxEventLoop::registerFdCallback (quitPipe[0], onQuitRequested);

    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset (&action.sa_mask);
    action.sa_flags = SA_RESTART;

    // Replaces the framework's SIGINT handler, which would quit without the request.
    sigaction (SIGINT, &action, nullptr);
    sigaction (SIGTERM, &action, nullptr);
}

#else

void StandaloneQuitSignals::install()
{
}

#endif
