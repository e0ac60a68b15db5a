#include "editor/Eq713kAudioProcessorEditor.h"

#include "core/Eq713kPluginInstance.h"
#include "core/ParamData.h"

#include "support/ChannelStrip.h"
#include "support/MessagePump.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

using testing_support::partsOf;
using testing_support::pixelAt;

namespace
{

using Editor = Eq713kAudioProcessorEditor;
using Rect = juce::Rectangle<int>;

constexpr int single = Editor::singleWidth, wide = Editor::doubleWidth, height = Editor::windowHeight;
constexpr int slideMs = Editor::slideMs;

/** Which strips are shown, greyed out, on top; the window's width and the second strip's place;
    whether the button's sequence is still under way (a slide task or the pause timer). */
struct Layout
{
    int width = 0, height = 0;
    Rect panel1;
    std::set<int> shown, greyed;
    int onTop = -1;
    bool sliding = false, pausing = false;

    bool operator== (const Layout& o) const
    {
        return width == o.width && height == o.height && panel1 == o.panel1 && shown == o.shown && greyed == o.greyed
            && onTop == o.onTop && sliding == o.sliding && pausing == o.pausing;
    }
};

std::ostream& operator<< (std::ostream& out, const std::set<int>& s)
{
    out << "{";
    for (auto i : s)
        out << " " << i;
    return out << " }";
}

std::ostream& operator<< (std::ostream& out, const Layout& l)
{
    return out << l.width << " x " << l.height << ", panel 1 at " << l.panel1.toString() << ", shown " << l.shown
               << ", greyed " << l.greyed << ", on top " << l.onTop << (l.sliding ? ", sliding" : "")
               << (l.pausing ? ", pausing" : "");
}

const Rect panel0At { 0, 25, 325, 570 };
const Rect panel1Under { 0, 25, 325, 570 };
const Rect panel1Beside { 325, 25, 325, 570 };

/** The layout of a settled window: no slide, no pause. */
Layout settled (int width, Rect panel1, std::set<int> shown, std::set<int> greyed, int onTop)
{
    return { width, height, panel1, std::move (shown), std::move (greyed), onTop, false, false };
}

class EditorTest : public testing_support::PluginInstanceTest
{
protected:
    ~EditorTest() override { close(); }

    /** Opens the editor as a host does. */
    Editor& open()
    {
        editor.reset (dynamic_cast<Editor*> (instance.createEditorIfNeeded()));
        EXPECT_NE (editor, nullptr);
        return *editor;
    }

    /** Closes it as a host does. */
    void close()
    {
        if (editor == nullptr)
            return;

        instance.editorBeingDeleted (editor.get());
        editor.reset();
    }

    void setChannel (float value) { params.setParamValue (nullptr, ParamData::CHANNEL, value); }
    void setSelected (int channel) { params.setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, channel); }

    /** A change that does not come from the window button: state restore, preset. */
    void setDoubleWindow (bool on) { params.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, on); }
    bool isDoubleWindow() const { return (bool) params.getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW); }

    /** A click on a strip's window button, as the user makes it. */
    void clickWindowButton (int panel = 0)
    {
        const auto before = isDoubleWindow();
        partsOf (editor->getPanel (panel)).windowButton->triggerClick();
        ASSERT_TRUE (testing_support::pumpUntil ([&] { return isDoubleWindow() != before; }));
    }

    /** Advances the slide by the given time, as the display refresh would. */
    void stepSlide (int milliseconds)
    {
        auto& animator = editor->getAnimator();
        animator.step (animator.getLastStepTime() + (juce::uint32) milliseconds);
    }

    /** Delivers the animator's change messages now. */
    void deliverAnimatorMessages() { editor->getAnimator().dispatchPendingMessages(); }

    /** The pause has passed (the timer is called directly: no real time passes in a test). */
    void endPause()
    {
        ASSERT_TRUE (editor->isTimerRunning());
        editor->timerCallback();
    }

    Layout layout()
    {
        Layout l;
        l.width = editor->getWidth();
        l.height = editor->getHeight();
        l.panel1 = editor->getPanel (1).getBounds();

        for (int i = 0; i < 2; ++i)
        {
            auto& panel = editor->getPanel (i);

            if (panel.isVisible())
                l.shown.insert (i);
            if (panel.overlay.isVisible())
                l.greyed.insert (i);
        }

        const auto index0 = editor->getIndexOfChildComponent (&editor->getPanel (0));
        const auto index1 = editor->getIndexOfChildComponent (&editor->getPanel (1));
        l.onTop = index0 > index1 ? 0 : 1;

        l.sliding = editor->getAnimator().isAnimating (&editor->getPanel (1));
        l.pausing = editor->isTimerRunning();
        return l;
    }

    Eq713kPluginInstance instance;
    Eq713kParamsManager& params = instance.getProductManager();
    std::unique_ptr<Editor> editor;
};

//==============================================================================
struct ModeCase
{
    bool doubleWindow;
    float channel;
    int selected;
    Layout expected;
};

std::ostream& operator<< (std::ostream& out, const ModeCase& c)
{
    return out << (c.doubleWindow ? "double" : "single") << ", CHANNEL " << c.channel << ", SELECTED CHANNEL " << c.selected;
}

class EditorModes : public EditorTest,
                    public ::testing::WithParamInterface<ModeCase>
{
};

} // namespace

// Opened in a mode, the window has its size and layout at once, with no slide and no pause. In
// the single window the selected channel's strip shows, in LINK too; a selected channel other
// than 1 (a restored state may hold any number) counts as the first. In the double window the
// strip that is not selected is greyed out unless CHANNEL is exactly 0.0 (LINK). The selected
// strip is on top, the first one in LINK.
TEST_P (EditorModes, OpenedInAModeTheWindowTakesItsLayoutAtOnce)
{
    const auto& c = GetParam();
    setChannel (c.channel);
    setSelected (c.selected);
    setDoubleWindow (c.doubleWindow);

    open();
    EXPECT_EQ (layout(), c.expected);
    EXPECT_EQ (editor->getPanel (0).getBounds(), panel0At);
    EXPECT_EQ (editor->getMenuBar().getBounds(), Rect (0, 0, c.expected.width, 25));
}

// Reached by changes from outside while the window is open, the same mode gives the same
// window.
TEST_P (EditorModes, ChangedWhileOpenTheWindowTakesTheSameLayout)
{
    const auto& c = GetParam();
    setSelected (1 - (c.selected == 1 ? 1 : 0));
    setChannel (1.0f);
    setDoubleWindow (! c.doubleWindow);
    open();

    setDoubleWindow (c.doubleWindow);
    setSelected (c.selected);
    setChannel (c.channel);

    EXPECT_EQ (layout(), c.expected);
    EXPECT_EQ (editor->getPanel (0).getBounds(), panel0At);
}

INSTANTIATE_TEST_SUITE_P (
    DoubleChannelSelected, EditorModes,
    ::testing::Values (
        ModeCase { false, 0.0f, 0, settled (single, panel1Under, { 0 }, {}, 0) },
        ModeCase { false, 0.0f, 1, settled (single, panel1Under, { 1 }, {}, 0) },
        ModeCase { false, 1.0f, 0, settled (single, panel1Under, { 0 }, {}, 0) },
        ModeCase { false, 1.0f, 1, settled (single, panel1Under, { 1 }, {}, 1) },
        ModeCase { false, 1.0f, 7, settled (single, panel1Under, { 0 }, {}, 0) },
        ModeCase { false, 1.0f, -1, settled (single, panel1Under, { 0 }, {}, 0) },
        ModeCase { true, 0.0f, 0, settled (wide, panel1Beside, { 0, 1 }, {}, 0) },
        ModeCase { true, 0.0f, 1, settled (wide, panel1Beside, { 0, 1 }, {}, 0) },
        ModeCase { true, 1.0f, 0, settled (wide, panel1Beside, { 0, 1 }, { 1 }, 0) },
        ModeCase { true, 1.0f, 1, settled (wide, panel1Beside, { 0, 1 }, { 0 }, 1) },
        ModeCase { true, 1.0f, 2, settled (wide, panel1Beside, { 0, 1 }, { 1 }, 0) },
        // LINK everywhere else, but not exactly 0.0 for the grey-out.
        ModeCase { true, 0.25f, 1, settled (wide, panel1Beside, { 0, 1 }, { 0 }, 0) },
        ModeCase { true, 0.25f, 0, settled (wide, panel1Beside, { 0, 1 }, { 1 }, 0) }));

//==============================================================================
// The strip the single window hides costs nothing at opening: it is laid out (and its textures
// rendered) when it is first shown, by the window button at once, before the pause, so the
// slide starts with it ready; or when the other channel is selected.
TEST_F (EditorTest, TheHiddenStripIsLaidOutOnlyWhenFirstShown)
{
    struct Case
    {
        const char* how;
        std::function<void()> show;
    };

    const Case cases[] {
        { "window button", [this] { clickWindowButton (0); } },
        { "channel 2 selected", [this] { setSelected (1); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.how);
        setChannel (1.0f);
        setSelected (0);
        setDoubleWindow (false);
        open();

        const auto hidden = partsOf (editor->getPanel (1));
        const auto shown = partsOf (editor->getPanel (0));
        ASSERT_FALSE (editor->getPanel (1).isVisible());
        EXPECT_EQ (shown.hiBoostKnob->getBounds(), Rect (179, 66, 136, 136));
        EXPECT_TRUE (hidden.hiBoostKnob->getBounds().isEmpty());

        c.show();
        EXPECT_TRUE (editor->getPanel (1).isVisible());
        EXPECT_EQ (hidden.hiBoostKnob->getBounds(), Rect (179, 66, 136, 136));
        EXPECT_EQ (hidden.faceplate->getBounds(), Rect (0, 0, 325, 570));
        close();
    }
}

//==============================================================================
// The button's opening: wider at once with the second strip still under the first (the right
// half black), the pause, then the slide out to the right, eased from rest to rest.
TEST_F (EditorTest, TheWindowButtonOpensWidenPauseSlide)
{
    setChannel (1.0f);
    setSelected (1);
    open();
    ASSERT_EQ (layout(), settled (single, panel1Under, { 1 }, {}, 1));

    clickWindowButton (1);
    EXPECT_EQ (layout(), (Layout { wide, height, panel1Under, { 0, 1 }, { 0 }, 1, false, true }));

    const auto image = testing_support::renderComponent (*editor);
    EXPECT_EQ (pixelAt (image, 500, 300), juce::Colours::black);
    EXPECT_NE (pixelAt (image, 100, 300), juce::Colours::black);

    endPause();
    EXPECT_EQ (layout(), (Layout { wide, height, panel1Under, { 0, 1 }, { 0 }, 1, true, false }));

    // Half the time is half the way (162.5, rounded with halves to even).
    stepSlide (slideMs / 2);
    EXPECT_EQ (editor->getPanel (1).getBounds(), Rect (162, 25, 325, 570));

    // Still on its way near the end; done at the full time.
    stepSlide (600 - slideMs / 2);
    EXPECT_TRUE (layout().sliding);

    stepSlide (slideMs - 600);
    deliverAnimatorMessages();
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, { 0 }, 1));
}

// The button's closing: the slide back under the first strip at the full width, the pause that
// the end of the slide starts, then the narrowing; the window ends as one opened in that mode.
TEST_F (EditorTest, TheWindowButtonClosesSlidePauseNarrow)
{
    setChannel (1.0f);
    setSelected (1);
    setDoubleWindow (true);
    open();

    clickWindowButton (0);
    EXPECT_EQ (layout(), (Layout { wide, height, panel1Beside, { 0, 1 }, { 0 }, 1, true, false }));

    stepSlide (slideMs / 2);
    EXPECT_EQ (editor->getPanel (1).getBounds(), Rect (162, 25, 325, 570));

    // A change message while the strip still moves starts nothing.
    deliverAnimatorMessages();
    EXPECT_FALSE (editor->isTimerRunning());

    stepSlide (slideMs - slideMs / 2);
    EXPECT_EQ (layout(), (Layout { wide, height, panel1Under, { 0, 1 }, { 0 }, 1, false, false }));

    deliverAnimatorMessages();
    EXPECT_TRUE (editor->isTimerRunning());

    endPause();
    EXPECT_EQ (layout(), settled (single, panel1Under, { 1 }, {}, 1));
}

// A second press during a slide turns it back from where it is, over the time it had run.
TEST_F (EditorTest, ASecondPressReversesTheSlideOverTheTimeItHadRun)
{
    setDoubleWindow (true);
    open();

    clickWindowButton (0);
    stepSlide (200);
    const auto turnedAt = editor->getPanel (1).getX();
    ASSERT_GT (turnedAt, 0);
    ASSERT_LT (turnedAt, 325);

    clickWindowButton (0);
    EXPECT_TRUE (isDoubleWindow());
    EXPECT_EQ (editor->getAnimator().getTaskElapsedMs (&editor->getPanel (1)), 0);

    stepSlide (100);
    EXPECT_EQ (editor->getPanel (1).getX(), juce::roundToInt (turnedAt + (325 - turnedAt) * 0.5));

    stepSlide (60);
    EXPECT_TRUE (layout().sliding);

    stepSlide (40);
    deliverAnimatorMessages();
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));

    // And the other way: an opening turned back closes, pauses and narrows.
    clickWindowButton (0);
    stepSlide (slideMs);
    deliverAnimatorMessages();
    endPause();
    ASSERT_EQ (layout(), settled (single, panel1Under, { 0 }, {}, 0));

    clickWindowButton (0);
    endPause();
    stepSlide (300);
    clickWindowButton (0);
    EXPECT_FALSE (isDoubleWindow());

    stepSlide (300);
    deliverAnimatorMessages();
    endPause();
    EXPECT_EQ (layout(), settled (single, panel1Under, { 0 }, {}, 0));
}

// Pressed again during the pause before the narrowing, the button opens again: the width is
// already double, so no resize comes, and the pause starts again before the slide out.
TEST_F (EditorTest, PressedDuringThePauseBeforeNarrowingTheWindowOpensAgain)
{
    setDoubleWindow (true);
    open();

    clickWindowButton (0);
    stepSlide (slideMs);
    deliverAnimatorMessages();
    ASSERT_TRUE (editor->isTimerRunning());

    clickWindowButton (0);
    EXPECT_EQ (layout(), (Layout { wide, height, panel1Under, { 0, 1 }, {}, 0, false, true }));

    endPause();
    stepSlide (slideMs);
    deliverAnimatorMessages();
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));
}

// No skipped layout is left over when no resize came: modes restored afterwards lay the strips
// out with every resize.
TEST_F (EditorTest, NoSkippedLayoutIsLeftForALaterResize)
{
    setDoubleWindow (true);
    open();

    clickWindowButton (0);
    stepSlide (slideMs);
    deliverAnimatorMessages();
    clickWindowButton (0);
    ASSERT_EQ (layout(), (Layout { wide, height, panel1Under, { 0, 1 }, {}, 0, false, true }));

    setDoubleWindow (false);
    EXPECT_EQ (layout(), settled (single, panel1Under, { 0 }, {}, 0));

    setDoubleWindow (true);
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));
}

//==============================================================================
namespace
{

/** Where in the button's sequence a change from outside arrives. */
enum class Moment
{
    pauseBeforeSlideOut,
    slidingOut,
    slidingBack,
    pauseBeforeNarrowing
};

struct InterruptCase
{
    const char* what;
    Moment moment;
    bool restoredMode;
};

std::ostream& operator<< (std::ostream& out, const InterruptCase& c) { return out << c.what; }

class EditorInterrupted : public EditorTest,
                          public ::testing::WithParamInterface<InterruptCase>
{
protected:
    /** Runs the button's sequence up to the moment. */
    void reach (Moment moment)
    {
        const auto opening = moment == Moment::pauseBeforeSlideOut || moment == Moment::slidingOut;
        setDoubleWindow (! opening);
        open();
        clickWindowButton (0);

        switch (moment)
        {
            case Moment::pauseBeforeSlideOut:
                break;
            case Moment::slidingOut:
                endPause();
                stepSlide (200);
                break;
            case Moment::slidingBack:
                stepSlide (200);
                break;
            case Moment::pauseBeforeNarrowing:
                stepSlide (slideMs);
                deliverAnimatorMessages();
                break;
        }
    }
};

} // namespace

// A mode that arrives from outside (a restored state, a preset) during a slide or a pause ends
// the button's sequence and takes the window to that mode at once: nothing is left to move the
// strips or the width afterwards, whatever messages were still under way.
TEST_P (EditorInterrupted, AChangeFromOutsideEndsInTheModesLayout)
{
    const auto& c = GetParam();
    setChannel (1.0f);
    reach (c.moment);

    setDoubleWindow (c.restoredMode);
    const auto expected = c.restoredMode ? settled (wide, panel1Beside, { 0, 1 }, { 1 }, 0)
                                         : settled (single, panel1Under, { 0 }, {}, 0);
    EXPECT_EQ (layout(), expected);

    // Messages posted before the change may still come; they leave the layout as it is.
    deliverAnimatorMessages();
    if (editor->isTimerRunning())
        editor->timerCallback();
    stepSlide (slideMs);

    EXPECT_EQ (layout(), expected);

    // And the button works from there as from any settled window.
    clickWindowButton (0);
    EXPECT_TRUE (layout().sliding || layout().pausing);
}

INSTANTIATE_TEST_SUITE_P (
    EveryMoment, EditorInterrupted,
    ::testing::Values (InterruptCase { "single restored in the pause before the slide out", Moment::pauseBeforeSlideOut, false },
                       InterruptCase { "double restored in the pause before the slide out", Moment::pauseBeforeSlideOut, true },
                       InterruptCase { "single restored while sliding out", Moment::slidingOut, false },
                       InterruptCase { "double restored while sliding out", Moment::slidingOut, true },
                       InterruptCase { "single restored while sliding back", Moment::slidingBack, false },
                       InterruptCase { "double restored while sliding back", Moment::slidingBack, true },
                       InterruptCase { "single restored in the pause before narrowing", Moment::pauseBeforeNarrowing, false },
                       InterruptCase { "double restored in the pause before narrowing", Moment::pauseBeforeNarrowing, true }));

// The same through the instance's state restore, whose settings arrive after its parameters.
TEST_F (EditorTest, AStateRestoredDuringTheSlideSetsItsModeAtOnce)
{
    setChannel (1.0f);
    setDoubleWindow (true);
    juce::MemoryBlock doubleWindowState;
    instance.getStateInformation (doubleWindowState);
    setDoubleWindow (false);

    open();
    clickWindowButton (0);
    clickWindowButton (0);
    ASSERT_TRUE (layout().sliding);

    instance.setStateInformation (doubleWindowState.getData(), (int) doubleWindowState.getSize());
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return isDoubleWindow(); }));

    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, { 1 }, 0));
}

// Only the window button animates: a change from outside never does, before or after one from
// the button, and the button's own change is always taken as the button's.
TEST_F (EditorTest, OnlyTheWindowButtonAnimates)
{
    open();

    for (int round = 0; round < 2; ++round)
    {
        setDoubleWindow (true);
        EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));

        clickWindowButton (1);
        EXPECT_TRUE (layout().sliding);

        setDoubleWindow (false);
        EXPECT_EQ (layout(), settled (single, panel1Under, { 0 }, {}, 0));

        clickWindowButton (0);
        EXPECT_TRUE (layout().pausing);

        setDoubleWindow (false);
        EXPECT_EQ (layout(), settled (single, panel1Under, { 0 }, {}, 0));
    }
}

//==============================================================================
// Changes of the selected channel while open: in DUAL MONO the new one shows (single) or is the
// bright one (double) and comes on top; any number other than 1 is the first channel; in LINK
// the editor leaves the strips as they are.
TEST_F (EditorTest, TheSelectedChannelChoosesTheStripWhileOpen)
{
    setChannel (1.0f);
    open();

    const struct
    {
        int selected;
        std::set<int> shown;
        int onTop;
    } steps[] = { { 1, { 1 }, 1 }, { 5, { 0 }, 0 }, { 1, { 1 }, 1 }, { -3, { 0 }, 0 } };

    for (const auto& step : steps)
    {
        setSelected (step.selected);
        EXPECT_EQ (layout(), settled (single, panel1Under, step.shown, {}, step.onTop)) << "selected " << step.selected;
    }

    setDoubleWindow (true);
    setSelected (1);
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, { 0 }, 1));

    setChannel (0.0f);
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));

    setSelected (0);
    EXPECT_EQ (layout(), settled (wide, panel1Beside, { 0, 1 }, {}, 0));
}

// The greyed-out strip is drawn darker than the bright one at the same point of the faceplate.
TEST_F (EditorTest, TheGreyedOutStripIsDrawnDarker)
{
    setChannel (1.0f);
    setDoubleWindow (true);
    open();

    const auto image = testing_support::renderComponent (*editor);
    const juce::Point<int> onFaceplate { 162, 25 + 560 };
    const auto bright = pixelAt (image, onFaceplate.x, onFaceplate.y);
    const auto greyed = pixelAt (image, onFaceplate.x + 325, onFaceplate.y);

    // The overlay is black at alpha 0x66: 60 % of the colour beneath is left.
    EXPECT_NEAR (greyed.getRed(), bright.getRed() * 0.6, 3.0);
    EXPECT_NEAR (greyed.getGreen(), bright.getGreen() * 0.6, 3.0);
    EXPECT_NE (bright, juce::Colours::black);
}

//==============================================================================
// The instance keeps the editors that are open, and each goes from the list as it closes.
//==============================================================================
// A host may give the editor more room than it asks for (Ardour's VST3 window is at least 392
// wide for its toolbar; a GTK host's window may stay wider, or be dragged larger): the strips
// stay where they belong, the menu bar spans the room and the rest looks like the bar, never the
// black of the window's own background. The editor goes on asking for its own width.
struct MoreRoomCase
{
    bool doubleWindow;
    int width, height;
};

std::ostream& operator<< (std::ostream& out, const MoreRoomCase& c)
{
    return out << (c.doubleWindow ? "double" : "single") << " window given " << c.width << " x " << c.height;
}

namespace
{
class EditorGivenMoreRoom : public EditorTest,
                            public ::testing::WithParamInterface<MoreRoomCase>
{
};
} // namespace

TEST_P (EditorGivenMoreRoom, StripsStayAndTheRestLooksLikeTheBar)
{
    const auto c = GetParam();
    setDoubleWindow (c.doubleWindow);
    open();

    const auto asked = c.doubleWindow ? wide : single;
    const auto barColour = pixelAt (testing_support::renderComponent (*editor), asked / 2, 12);
    ASSERT_NE (barColour, juce::Colours::black);

    editor->setBounds (0, 0, c.width, c.height);

    EXPECT_EQ (editor->getAskedWidth(), asked);
    EXPECT_EQ (editor->getPanel (0).getBounds(), panel0At);
    EXPECT_EQ (editor->getPanel (1).getBounds(), c.doubleWindow ? panel1Beside : panel1Under);
    EXPECT_EQ (editor->getMenuBar().getBounds(), Rect (0, 0, c.width, 25));

    const auto image = testing_support::renderComponent (*editor);
    const auto besideX = asked + (c.width - asked) / 2;

    EXPECT_EQ (pixelAt (image, besideX, 12), barColour) << "the menu bar beside the strips";
    EXPECT_EQ (pixelAt (image, besideX, 300), barColour) << "beside the strips";
    EXPECT_EQ (pixelAt (image, c.width - 1, c.height - 1), barColour) << "the far corner";

    if (c.height > height)
    {
        EXPECT_EQ (pixelAt (image, 100, height + (c.height - height) / 2), barColour) << "below the strips";
    }
}

INSTANTIATE_TEST_SUITE_P (
    Rooms, EditorGivenMoreRoom,
    ::testing::Values (MoreRoomCase { false, 392, height },
                       MoreRoomCase { false, wide, height },
                       MoreRoomCase { false, 500, 700 },
                       MoreRoomCase { true, 800, 700 }));

TEST_F (EditorTest, TheInstanceListsItsOpenEditors)
{
    EXPECT_TRUE (instance.hasEditor());
    open();

    std::unique_ptr<juce::AudioProcessorEditor> second (instance.createEditor());
    EXPECT_EQ (instance.getOpenEditors(), (juce::Array<Editor*> { editor.get(), dynamic_cast<Editor*> (second.get()) }));

    close();
    EXPECT_EQ (instance.getOpenEditors(), (juce::Array<Editor*> { dynamic_cast<Editor*> (second.get()) }));

    instance.editorBeingDeleted (second.get());
    second.reset();
    EXPECT_TRUE (instance.getOpenEditors().isEmpty());
}

// Closed at any point of the button's sequence, the editor leaves nothing behind that would
// call it: messages and timers due afterwards find nothing to do.
TEST_F (EditorTest, ClosedDuringTheSlideOrThePauseNothingCallsItAfterwards)
{
    for (int point = 0; point < 3; ++point)
    {
        open();
        clickWindowButton (0);

        if (point >= 1)
            endPause();
        if (point == 2)
            stepSlide (100);

        close();
        testing_support::pumpFor (Editor::pauseMs + 50);
        setDoubleWindow (false);
        EXPECT_TRUE (instance.getOpenEditors().isEmpty());
    }
}
