#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "editor/HostWindowSizeHints.h"

namespace
{
#if JUCE_LINUX || JUCE_BSD
constexpr bool onX11 = true;
#else
constexpr bool onX11 = false;
#endif
} // namespace

HostWindowSizeHints::HostWindowSizeHints (juce::Component& editorToHint, bool inLv2Host)
    : editor (editorToHint), enabled (onX11 && inLv2Host)
{
}

HostWindowSizeHints::~HostWindowSizeHints()
{
    stopTimer();

    if (auto* top = watched.getComponent())
        top->removeComponentListener (this);
}

void HostWindowSizeHints::watchTopLevel()
{
    auto* top = editor.getTopLevelComponent();

    if (top == &editor)
        top = nullptr;

    if (top == watched.getComponent())
        return;

    if (auto* old = watched.getComponent())
        old->removeComponentListener (this);

    watched = top;

    if (top != nullptr)
        top->addComponentListener (this);
}

void HostWindowSizeHints::wantSize (int width, int height)
{
    wantedWidth = width;
    wantedHeight = height;

    // At once, before the wrapper asks the host for the size (the host may look at the hints
    // while it takes the request), and again after the wrapper has written its own.
    if (enabled)
        writeHints();

    refresh();
}

void HostWindowSizeHints::refresh()
{
    if (! enabled)
        return;

    watchTopLevel();
    rewritesLeft = rewrites;
    startTimer (rewriteIntervalMs);
}

void HostWindowSizeHints::timerCallback()
{
    writeHints();

    if (--rewritesLeft <= 0)
        stopTimer();
}

void HostWindowSizeHints::writeHints()
{
   #if JUCE_LINUX || JUCE_BSD
    auto* peer = editor.getPeer();

    if (peer == nullptr || wantedWidth <= 0 || wantedHeight <= 0)
        return;

    const auto window = (::Window) peer->getNativeHandle();
    auto* display = juce::XWindowSystem::getInstance()->getDisplay();
    auto* x11 = juce::X11Symbols::getInstance();

    if (window == 0 || display == nullptr)
        return;

    const auto scale = peer->getPlatformScaleFactor();
    const auto width = juce::roundToInt (wantedWidth * scale);
    const auto height = juce::roundToInt (wantedHeight * scale);

    juce::XWindowSystemUtilities::ScopedXLock lock;

    if (auto* hints = x11->xAllocSizeHints())
    {
        // The size the editor asks for, as its natural size, and as the smallest and the
        // largest: the host's window takes the editor's two sizes, no others.
        hints->flags = USSize | PMinSize | PMaxSize;
        hints->width = hints->min_width = hints->max_width = width;
        hints->height = hints->min_height = hints->max_height = height;
        x11->xSetWMNormalHints (display, window, hints);
        x11->xFree (hints);
        x11->xFlush (display);
    }
   #endif
}
