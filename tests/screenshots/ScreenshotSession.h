#pragma once

#include "EditorWindow.h"
#include "Findings.h"
#include "ScreenPicture.h"

#include "support/xserver/XServerProbe.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <optional>

namespace screenshots
{

/** Opens the product's editor of real instances in windows on the X server, in the states a
    user meets, keeps a picture of the screen of each as a PNG, and checks on each picture what
    a person would notice at once. Also measures whether an idle editor paints.

    Runs on the message thread (the caller's), with units of the in-process MIDI world. */
class ScreenshotSession
{
public:
    ScreenshotSession (const XServerProbe& screen, const juce::File& folder);

    /** Takes every picture; the number of pictures or measurements that failed. */
    int run();

    /** The pictures written, in the order taken. */
    const juce::StringArray& getWrittenFiles() const noexcept { return written; }

private:
    Findings singleWindowNoUnit();
    Findings singleWindowWithUnit();
    Findings doubleWindowDualMono();
    Findings deviceSelectorOpen();
    Findings menuOpen();
    Findings windowButtonMidSlide();

    /** A popup of the menu bar: the button that opens it, its name, its least height, and
        whether the USB lamp shows a unit connected meanwhile. */
    struct Popup
    {
        juce::Point<int> opener;
        juce::String name;
        int minimumHeight;
        bool unitConnected;
    };

    /** Shows the instance's editor, opens the popup, keeps and checks a picture of both. */
    void showPopup (Eq713kPluginInstance& instance, const Popup& popup, const juce::String& fileName, Findings& findings);

    /** Counts the window's paints while nothing changes for a while, and reports them. */
    void expectIdleWindowPaintsNothing (EditorWindow& window, const juce::String& what);

    /** Runs the message loop until the screen shows the window's menu bar and strips. */
    bool waitUntilShown (EditorWindow& window, bool bothStrips, Findings& findings);

    /** Clicks a point of the editor and waits for a new window on the screen painted with a
        dark background: the popup it opens. */
    std::optional<juce::Rectangle<int>> clickForPopup (EditorWindow& window, juce::Point<int> inEditor,
                                                       const juce::String& popupName, Findings& findings);
    void closePopups();

    /** Runs the message loop until the look at the screen finds what it wants, looking every
        100 ms (a look reads the screen, which takes a while). */
    bool keepLookingUntil (const std::function<bool()>& look, int timeoutMs);

    void parkPointer();
    ScreenPicture takePicture (const EditorWindow& window) const;
    void save (const ScreenPicture& picture, const juce::String& name, Findings& findings);
    void report (const juce::String& what, const Findings& findings);

    const XServerProbe& screen;
    const juce::File folder;
    const juce::Point<int> windowPosition { 40, 40 };
    int failures = 0;
    juce::StringArray written;
};

} // namespace screenshots
