#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** In an LV2 host on Linux: keeps the size hints of the window the editor is embedded in
    (WM_NORMAL_HINTS of the plug-in's own X window) at the size the editor asks for.

    The framework's LV2 wrapper tells the host a new size through the resize request, and
    then sets its window's hints to a bare "user specified size", without a minimum; suil's X11
    wrapper (the embedding of GTK hosts such as jalv and Ardour) takes the window's hints for the
    embedded widget's minimum and natural size. Left so, the minimum it sees runs behind the
    requested size (GTK warns that the minimum exceeds the natural size) and the host's window
    keeps the larger width after the editor narrows. The hints are written after the wrapper's
    own, once the message loop comes round, so they are the last word.

    Does nothing in other formats and on other platforms. Message thread only. */
class HostWindowSizeHints : private juce::AsyncUpdater
{
public:
    /** editor: the component whose window (its top-level peer) carries the hints. */
    HostWindowSizeHints (juce::Component& editor, bool inLv2Host);
    ~HostWindowSizeHints() override;

    /** The editor asks for this size now: written at the next turn of the message loop. */
    void wantSize (int width, int height);

    /** The window may have been made again or its hints overwritten: write them again. */
    void refresh();

private:
    void handleAsyncUpdate() override;

    juce::Component& editor;
    const bool enabled;
    int wantedWidth = 0, wantedHeight = 0;
};
