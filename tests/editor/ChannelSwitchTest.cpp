#include "editor/ChannelSwitch.h"
#include "support/ControlOnPanel.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

using testing_support::clickAt;
using testing_support::ControlOnPanel;

namespace
{

struct OpenChannelSwitch : ChannelSwitch
{
    using ChannelSwitch::ChannelSwitch;
    using ChannelSwitch::lightDiodes;
    using ChannelSwitch::nameLabel;
    using ChannelSwitch::positionDiodes;
    using ChannelSwitch::positionLabels;

    /** The position whose lit lamp shows, or -1 unless exactly one shows. */
    int litPosition() const
    {
        int lit = -1;
        for (int i = 0; i < lightDiodes.size(); ++i)
        {
            if (! lightDiodes[i]->isVisible())
                continue;
            if (lit >= 0)
                return -1;
            lit = i;
        }
        return lit;
    }
};

/** A channel view's selector: named, labelled and given its range as the view does, mounted at
    (20, 30), 146 x 49, told the window mode as its view tells it. */
struct Selector
{
    explicit Selector (int ownChannel, bool doubleWindow = false) : onPanel (ownChannel)
    {
        setDoubleWindow (doubleWindow);
        auto& control = onPanel.control;
        control.setButtonName ("CH.");
        control.setDiodeLabelsText ({ "LINK", "1", "2" });
        control.range = { 0.0f, 2.0f, 1.0f };
        onPanel.mount ({ 20, 30, 146, 49 });
        control.onStateChanged = [this] { ++notifications; };
    }

    void setDoubleWindow (bool on) { onPanel.control.setDoubleWindow (on); }

    /** Moves the selector as the view does when it is told of a change. */
    void showPosition (int position) { onPanel.control.setValue ((float) position, juce::dontSendNotification); }

    OpenChannelSwitch& control() { return onPanel.control; }
    HV_ChanelButton& button() { return onPanel.control.getChannelButton(); }

    void press() { testing_support::pressAt (button(), button().getLocalBounds().getCentre().toFloat()); }

    void release()
    {
        const auto centre = button().getLocalBounds().getCentre().toFloat();
        testing_support::releaseAt (button(), centre, centre);
    }

    ControlOnPanel<OpenChannelSwitch> onPanel;
    int notifications = 0;
};

} // namespace

// s = 49 / 25.313 = 1.9358: button R(37.75) = 38 at the right, R(1.55) = 2 from the edge, R(9.2)
// = 9 down; lamps R(18.0) = 18, the first R(12.58) + 2 = 15 in, then R(17.42) = 17 apart, R(27.1)
// = 27 down; labels R(14.52) = 15 high, centred R(16.45) = 16 down; the name R(17.42) = 17 high,
// centred R(9.29) = 9 right of the switch, level with the lamps.
TEST (ChannelSwitch, LayoutAtTheViewsSize)
{
    Selector selector (0);
    auto& control = selector.control();

    EXPECT_EQ (selector.button().getBounds(), juce::Rectangle<int> (106, 9, 38, 38));

    const juce::Rectangle<int> lamps[] = { { 6, 18, 18, 18 }, { 23, 18, 18, 18 }, { 40, 18, 18, 18 } };
    const juce::Point<int> labelCentres[] = { { 35, 46 }, { 52, 46 }, { 69, 46 } };

    for (int i = 0; i < 3; ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_EQ (control.positionDiodes[i]->getBounds(), lamps[i]);
        EXPECT_EQ (control.lightDiodes[i]->getBounds(), lamps[i]);

        auto& label = *control.positionLabels[i];
        EXPECT_EQ (label.getBounds().getCentre(), labelCentres[i]);
        EXPECT_EQ (label.getHeight(), 15);
        EXPECT_FLOAT_EQ (label.getFont().getHeight(), 0.735f * 15.0f);
        EXPECT_TRUE (label.getFont().isBold());
        EXPECT_EQ (label.getJustificationType(), juce::Justification (juce::Justification::centredTop));
        EXPECT_EQ (label.findColour (juce::Label::textColourId), juce::Colours::black);
        EXPECT_EQ (label.getParentComponent(), &selector.onPanel.panel);
    }

    EXPECT_EQ (control.nameLabel.getText(), "CH.");
    EXPECT_EQ (control.nameLabel.getBounds().getCentre(), juce::Point<int> (20 + 146 + 9, 30 + 27));
    EXPECT_EQ (control.nameLabel.getHeight(), 17);
    EXPECT_FLOAT_EQ (control.nameLabel.getFont().getHeight(), 0.8f * 17.0f);
    EXPECT_EQ (control.nameLabel.findColour (juce::Label::textColourId), juce::Colours::black);
}

namespace
{

enum class Input
{
    button,
    lamp,
    label
};

struct ClickCase
{
    const char* what;
    bool doubleWindow;
    int ownChannel, start;
    Input input;
    int index; // the lamp or label clicked
    int expected;
    bool told;
};

std::ostream& operator<< (std::ostream& out, const ClickCase& c) { return out << c.what; }

class ChannelSwitchClicks : public ::testing::TestWithParam<ClickCase>
{
};

} // namespace

TEST_P (ChannelSwitchClicks, SelectAndTellOnlyOnAChange)
{
    const auto c = GetParam();
    Selector selector (c.ownChannel, c.doubleWindow);
    auto& control = selector.control();
    selector.showPosition (c.start);
    ASSERT_EQ (control.getState(), c.start);

    auto& panel = selector.onPanel;
    juce::Component* target = nullptr;
    switch (c.input)
    {
        case Input::button: target = &selector.button(); break;
        case Input::lamp:   target = control.positionDiodes[c.index]; break; // through the lit lamp, if it shows
        case Input::label:  target = control.positionLabels[c.index]; break;
    }
    EXPECT_EQ (clickAt (panel.panel, panel.centreOf (*target)), target);

    EXPECT_EQ (control.getState(), c.expected);
    EXPECT_EQ (selector.notifications, c.told ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P (
    Rules, ChannelSwitchClicks,
    ::testing::Values (
        // The single window steps LINK -> 1 -> 2 -> 1, whichever view it is in.
        ClickCase { "single: LINK to 1", false, 0, 0, Input::button, 0, 1, true },
        ClickCase { "single: 1 to 2", false, 0, 1, Input::button, 0, 2, true },
        ClickCase { "single: 2 to 1", false, 1, 2, Input::button, 0, 1, true },
        // The double window selects the own channel.
        ClickCase { "double, channel 2: LINK to 2", true, 1, 0, Input::button, 0, 2, true },
        ClickCase { "double, channel 2: 1 to 2", true, 1, 1, Input::button, 0, 2, true },
        ClickCase { "double, channel 2: at 2 nothing", true, 1, 2, Input::button, 0, 2, false },
        ClickCase { "double, channel 1: LINK to 1", true, 0, 0, Input::button, 0, 1, true },
        ClickCase { "double, channel 1: 2 to 1", true, 0, 2, Input::button, 0, 1, true },
        ClickCase { "double, channel 1: at 1 nothing", true, 0, 1, Input::button, 0, 1, false },
        // A channel index other than 0 is the second channel.
        ClickCase { "double, channel index 5 is channel 2", true, 5, 0, Input::button, 0, 2, true },
        // Lamps and labels select their position; the current one tells nobody.
        ClickCase { "lamp 2 from LINK", false, 0, 0, Input::lamp, 2, 2, true },
        ClickCase { "lamp LINK from 2", false, 0, 2, Input::lamp, 0, 0, true },
        ClickCase { "the current lamp, under its lit lamp", false, 0, 1, Input::lamp, 1, 1, false },
        ClickCase { "double: the own channel's lit lamp while 1 is selected", true, 1, 1, Input::lamp, 2, 2, true },
        ClickCase { "double: the selected but unlit lamp", true, 1, 1, Input::lamp, 1, 1, false },
        ClickCase { "label LINK from 1", false, 0, 1, Input::label, 0, 0, true },
        ClickCase { "label 1 from LINK", true, 1, 0, Input::label, 1, 1, true },
        ClickCase { "the current label", false, 0, 2, Input::label, 2, 2, false }));

// The rules are about positions: a selector whose value range was left at the kit's 0..1 still
// steps 1 -> 2 -> 1 and holds back to LINK.
TEST (ChannelSwitch, ClicksReadThePositionWhateverTheValueRange)
{
    Selector selector (0);
    auto& control = selector.control();
    control.range = { 0.0f, 1.0f, 0.01f };
    control.updateCurrentState (1, juce::dontSendNotification);

    selector.press();
    selector.release();
    EXPECT_EQ (control.getState(), 2);

    selector.press();
    selector.release();
    EXPECT_EQ (control.getState(), 1);

    selector.press();
    selector.button().holdTimer.timerCallback();
    selector.release();
    EXPECT_EQ (control.getState(), 0);
}

TEST (ChannelSwitch, AShortPressSelectsTheNextChannel)
{
    Selector selector (0);
    selector.showPosition (1);

    selector.press();
    EXPECT_TRUE (selector.button().holdTimer.isTimerRunning());
    EXPECT_EQ (selector.notifications, 0); // it fires on release

    selector.release();
    EXPECT_FALSE (selector.button().holdTimer.isTimerRunning());
    EXPECT_EQ (selector.control().getState(), 2);
    EXPECT_EQ (selector.notifications, 1);
}

TEST (ChannelSwitch, AHeldPressGoesToLinkWhenTheHoldEndsAndTheReleaseDoesNothing)
{
    for (const auto doubleWindow : { false, true })
    {
        SCOPED_TRACE (doubleWindow ? "double window" : "single window");
        Selector selector (1, doubleWindow);
        selector.showPosition (2);

        selector.press();
        selector.button().holdTimer.timerCallback(); // the second has passed

        EXPECT_EQ (selector.control().getState(), 0);
        EXPECT_EQ (selector.notifications, 1);
        EXPECT_FALSE (selector.button().holdTimer.isTimerRunning());

        selector.release();
        EXPECT_EQ (selector.control().getState(), 0);
        EXPECT_EQ (selector.notifications, 1);

        // The next press is a press like any other.
        selector.press();
        selector.release();
        EXPECT_EQ (selector.control().getState(), doubleWindow ? 2 : 1);
        EXPECT_EQ (selector.notifications, 2);
    }
}

TEST (ChannelSwitch, AtLinkAPressArmsNoHoldAndTheReleaseClicks)
{
    Selector selector (0);
    selector.showPosition (0);

    selector.press();
    EXPECT_FALSE (selector.button().holdTimer.isTimerRunning());

    selector.release();
    EXPECT_EQ (selector.control().getState(), 1);
    EXPECT_EQ (selector.notifications, 1);

    // Even after a hold whose release never arrived.
    selector.press();
    selector.button().holdTimer.timerCallback();
    ASSERT_EQ (selector.control().getState(), 0);
    selector.press();
    selector.release();
    EXPECT_EQ (selector.control().getState(), 1);
    EXPECT_EQ (selector.notifications, 3);
}

namespace
{

struct LampCase
{
    bool doubleWindow;
    int ownChannel, state, lit;
};

} // namespace

// The single window lights the selected position; the double window, off LINK, lights the own
// channel of each view.
TEST (ChannelSwitch, OneLitLampByTheWindowModesRule)
{
    const LampCase cases[] = {
        { false, 0, 0, 0 }, { false, 0, 1, 1 }, { false, 1, 2, 2 }, { false, 1, 1, 1 },
        { true, 0, 0, 0 },  { true, 1, 0, 0 },  { true, 0, 1, 1 },  { true, 0, 2, 1 },
        { true, 1, 1, 2 },  { true, 1, 2, 2 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (::testing::Message() << "double " << c.doubleWindow << ", own " << c.ownChannel << ", state " << c.state);
        Selector selector (c.ownChannel, c.doubleWindow);
        selector.showPosition (c.state);
        EXPECT_EQ (selector.control().litPosition(), c.lit);
    }
}

TEST (ChannelSwitch, TheLitLampsAreRed)
{
    Selector selector (0);
    auto& control = selector.control();
    selector.showPosition (2);

    const auto image = testing_support::renderComponent (control);
    const auto centre = control.lightDiodes[2]->getBounds().getCentre();
    const auto lit = testing_support::pixelAt (image, centre.x, centre.y);
    EXPECT_TRUE (lit.getRed() > 0xd0 && lit.getGreen() < 0xd0 && lit.getBlue() < 0xb0) << testing_support::describe (lit);
}

// Textures are rendered at layout time only: selecting, holding, moving the selector and
// painting it draw no new noise.
TEST (ChannelSwitch, NeitherClicksNorHoldsNorPaintingRenderTexturesAgain)
{
    Selector selector (1, true);
    auto& control = selector.control();
    testing_support::DrawingRandomnessProbe probe;

    selector.showPosition (1);
    clickAt (selector.onPanel.panel, selector.onPanel.centreOf (*control.positionDiodes[0]));
    selector.press();
    selector.release();
    selector.press();
    selector.button().holdTimer.timerCallback();
    selector.release();
    control.setTopLeftPosition (40, 40);
    testing_support::renderComponent (selector.onPanel.panel);

    EXPECT_TRUE (probe.untouched());
}
