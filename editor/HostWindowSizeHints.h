#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** In an LV2 host on Linux: keeps the size hints of the window the editor is embedded in
    (WM_NORMAL_HINTS of the plug-in's own X window) at the size the editor asks for, as its
    smallest and its largest size.

    The framework's LV2 wrapper tells the host a new size through the resize request and sets
    its window's hints to a bare "user specified size", with no smallest or largest size. suil's
    X11 wrapper (the embedding of GTK hosts such as jalv and Ardour) takes the hints for the
    embedded widget's minimum and clamps the plug-in's window to them in a larger host window:
    without them a host window that the user may resize has no minimum that follows the editor,
    and stretches the editor to whatever size it is dragged to. The hints are written at once,
    before the wrapper asks the host, and again for a moment after each change, as the wrapper
    writes its own anew while the host answers the request.

    Does nothing in other formats and on other platforms. Message thread only. */
class HostWindowSizeHints : private juce::Timer,
                            private juce::ComponentListener
{
public:
    /** editor: the component whose window (its top-level peer) carries the hints. */
    HostWindowSizeHints (juce::Component& editor, bool inLv2Host);
    ~HostWindowSizeHints() override;

    /** The editor asks for this size now. */
    void wantSize (int width, int height);

    /** The window may have been made again or its hints overwritten: write them again. */
    void refresh();

    static constexpr int rewriteIntervalMs = 50, rewrites = 10;

private:
    void writeHints();
    void timerCallback() override;

    /** The wrapper writes its hints whenever its window moves or changes size, which the
        editor does not always hear of: it listens to its top-level component for that. */
    void watchTopLevel();
    void componentMovedOrResized (juce::Component&, bool, bool) override { refresh(); }

    juce::Component& editor;
    juce::Component::SafePointer<juce::Component> watched;
    const bool enabled;
    int wantedWidth = 0, wantedHeight = 0;
    int rewritesLeft = 0;
};
