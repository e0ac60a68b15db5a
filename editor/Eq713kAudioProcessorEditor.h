#pragma once

#include "core/Eq713kParamsManager.h"
#include "editor/EQ700K_MainView.h"
#include "editor/HostRunLoopLink.h"
#include "editor/HostWindowSizeHints.h"
#include "editor/MenuBar.h"
#include "widgets/HvDefaultLookAndFeel.h"
#include "widgets/HvLookAndFeel.h"
#include "widgets/HvVBlankComponentAnimator.h"

#include <juce_audio_processors/juce_audio_processors.h>


/** The plug-in's window: the menu bar over one channel strip (single window, 325 x 595) or both
    side by side (double window, 650 x 595), by the setting "DOUBLE WINDOW".

    In the single window it shows the strip of "SELECTED CHANNEL"; in the double window it greys
    out the strip that is not selected while the channels are not linked. When the user switches
    the mode with a strip's window button, the window widens at once and the second strip slides
    out to the right after a short pause, or slides back under the first and the window narrows
    after the pause; a second press during a slide turns it back. A change of the mode from
    anywhere else (the host, a restored state or preset) sets the size at once.

    The slide is stepped by the animator from the display refresh of the window; a test without
    a window steps it itself (getAnimator().step) and runs the pause by calling timerCallback.

    Message thread only. Registers itself with its instance's list of open editors while it
    lives; the instance and its manager must outlive it.
*/
class Eq713kAudioProcessorEditor : public juce::AudioProcessorEditor,
                                   public juce::HvParamsManager::NonAutomatableParamListener,
                                   public juce::HvParamsManager::AutomatableParamListener,
                                   public juce::Timer,
                                   public juce::ChangeListener
{
public:
    static constexpr int panelWidth = 325;
    static constexpr int panelHeight = 570;
    static constexpr int menuBarHeight = 25;
    static constexpr int singleWidth = panelWidth;
    static constexpr int doubleWidth = 2 * panelWidth;
    static constexpr int windowHeight = menuBarHeight + panelHeight;

    /** The pause between the change of width and the slide, and the slide's duration. */
    static constexpr int pauseMs = 350;
    static constexpr int slideMs = 650;

    Eq713kAudioProcessorEditor (EditorInstance& instance, Eq713kParamsManager& params);
    ~Eq713kAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void parentHierarchyChanged() override;

    /** The width the editor asks its host for now (the window's own width, 325 or 650); a host
        may give it more room, which it fills as the panel's surroundings. */
    int getAskedWidth() const noexcept { return askedWidth; }

    void nonAutomatableParamValueChanged (int id, juce::var value) override;

    using AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float value) override;

    /** The pause has passed: slide the second strip out, or narrow the window. */
    void timerCallback() override;

    /** The animator began or finished a task: the end of a closing slide starts the pause. */
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;

    MenuBar& getMenuBar() noexcept { return menuBar; }

    /** The strip of the first (0) or the second (1) channel. */
    EQ700K_MainView& getPanel (int index) noexcept { return index == 1 ? panel1 : panel0; }

    juce::HvVBlankComponentAnimator& getAnimator() noexcept { return animator; }

private:
    bool isDoubleWindow() const;
    bool isLinked() const;

    /** "SELECTED CHANNEL" as the editor shows it: 1 is the second channel, anything else the
        first (a restored state may hold any number). */
    int selectedChannel() const;
    static int asSelectedChannel (const juce::var& value);

    void updatePanelsVisibility();
    void updatePanelsGrayOut();
    void putOnTop (int panelIndex);

    void layOutPanels();
    /** Asks the host for the width from now on: the hints of an LV2 host's window follow it,
        and the paint marks the room beyond it. */
    void askFor (int width);
    /** Sets the window's width; the panels stay where they are through the resize. */
    void setWidthKeepingPanels (int width);
    void setWidthAndLayOut (int width);

    void windowModeChanged (bool doubleWindow);
    void windowModeChangedByButton (bool doubleWindow);
    void slidePanel1 (bool out, int milliseconds);

    juce::Rectangle<int> panel0Bounds() const noexcept { return { 0, menuBarHeight, panelWidth, panelHeight }; }
    juce::Rectangle<int> panel1Bounds (bool doubleWindow) const noexcept
    {
        return { doubleWindow ? panelWidth : 0, menuBarHeight, panelWidth, panelHeight };
    }

    // First, so that every font of the editor resolves to the panel's own lettering.
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;

    EditorInstance& instance;
    Eq713kParamsManager& params;
    juce::HvLookAndFeel lookAndFeel;
    MenuBar menuBar;

    // Before the strips, which keep a reference to it: a strip's window button sets it just
    // before it changes "DOUBLE WINDOW", and the editor clears it when it hears the change.
    bool windowClickFlag = false;

    EQ700K_MainView panel0;
    EQ700K_MainView panel1;

    /** Set only around a resize that must leave the panels where they are. */
    bool skipPanelLayout = false;

    juce::HvVBlankComponentAnimator animator;

    int askedWidth = 0;
    HostWindowSizeHints sizeHints;

    /** In a VST3 host on Linux: keeps this editor served by the host's run loop when another
        editor of the plug-in goes. */
    HostRunLoopLink hostRunLoop;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kAudioProcessorEditor)
};
