#include "support/Rendering.h"
#include "widgets/EQ700K_Colours.h"
#include "widgets/HV_Switch_s500.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using testing_support::clickAt;

namespace
{

/** Lays the lamps out in one row near the switch's top and stands each position label above
    the switch, over its lamp, where nothing else covers it. */
class SimpleSwitch : public HV_Switch_s500
{
public:
    using HV_Switch_s500::HV_Switch_s500;
    using HV_Switch_s500::buttons;
    using HV_Switch_s500::lightDiodes;
    using HV_Switch_s500::maximum;
    using HV_Switch_s500::nameLabel;
    using HV_Switch_s500::positionDiodes;
    using HV_Switch_s500::positionLabels;
    using HV_Switch_s500::secondNameLabel;

    ButtonDiode& litLamp() { return *lightDiodes.getFirst(); }

protected:
    void layoutDiodes (float scale) override
    {
        const auto edge = juce::roundToInt (8.0f * scale);
        const auto step = juce::roundToInt (10.0f * scale);
        litLamp().setSize (edge, edge);

        for (int i = 0; i < positionDiodes.size(); ++i)
        {
            const auto x = step * (i + 1);
            positionDiodes[i]->setSize (edge, edge);
            positionDiodes[i]->setCentrePosition (x, juce::roundToInt (6.0f * scale));
            positionLabels[i]->setSize (step, juce::roundToInt (6.0f * scale));
            positionLabels[i]->setCentrePosition (getX() + x, getY() - juce::roundToInt (4.0f * scale));
        }
    }
};

juce::Point<float> centreIn (juce::Component& root, juce::Component& component)
{
    return root.getLocalPoint (&component, component.getLocalBounds().getCentre().toFloat());
}

/** A visible panel with a switch at (20, 20), 100 x 38, named before it is added. */
struct Panel
{
    Panel (size_t numButtons, size_t numPositions, const juce::String& name = "CPS")
        : control (numButtons, numPositions, false)
    {
        parent.setBounds (0, 0, 200, 120);
        parent.setVisible (true);
        control.setButtonName (name);
        parent.addAndMakeVisible (control);
        control.setBounds (20, 20, 100, 38);
        control.onStateChanged = [this] { ++notifications; };
    }

    juce::Component parent;
    SimpleSwitch control;
    int notifications = 0;
};

enum class Input
{
    downButton,
    upButton,
    onlyButton,
    lamp,
    label,
    silentIndex,
    notifyingIndex
};

struct MachineCase
{
    const char* what;
    size_t numButtons, numPositions;
    int start;
    Input input;
    int index; // the lamp, label or index for the inputs that take one
    int expected;
    bool notified;
};

std::ostream& operator<< (std::ostream& out, const MachineCase& c) { return out << c.what; }

class PositionMachine : public ::testing::TestWithParam<MachineCase>
{
};

} // namespace

TEST_P (PositionMachine, StepsSelectsAndNotifies)
{
    const auto c = GetParam();
    Panel panel (c.numButtons, c.numPositions);
    auto& control = panel.control;
    control.updateCurrentState (c.start, juce::dontSendNotification);
    ASSERT_EQ (panel.notifications, 0);

    const auto click = [&] (juce::Component& target)
    {
        EXPECT_EQ (clickAt (panel.parent, centreIn (panel.parent, target)), &target);
    };

    switch (c.input)
    {
        case Input::downButton:     click (*control.buttons[0]); break;
        case Input::upButton:       click (*control.buttons[1]); break;
        case Input::onlyButton:     click (*control.buttons[0]); break;
        // The lit lamp may cover the lamp; it lets the click through.
        case Input::lamp:           EXPECT_EQ (clickAt (panel.parent, centreIn (panel.parent, *control.positionDiodes[c.index])),
                                               control.positionDiodes[c.index]); break;
        case Input::label:          click (*control.positionLabels[c.index]); break;
        case Input::silentIndex:    control.updateCurrentState (c.index, juce::dontSendNotification); break;
        case Input::notifyingIndex: control.updateCurrentState (c.index, juce::sendNotificationSync); break;
    }

    EXPECT_EQ (control.getState(), c.expected);
    EXPECT_EQ (panel.notifications, c.notified ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P (
    Inputs, PositionMachine,
    ::testing::Values (
        MachineCase { "down steps down", 2, 4, 2, Input::downButton, 0, 1, true },
        MachineCase { "down at the first position stays and notifies", 2, 4, 0, Input::downButton, 0, 0, true },
        MachineCase { "up steps up", 2, 7, 3, Input::upButton, 0, 4, true },
        MachineCase { "up at the last position stays and notifies", 2, 4, 3, Input::upButton, 0, 3, true },
        MachineCase { "one button steps up", 1, 4, 1, Input::onlyButton, 0, 2, true },
        MachineCase { "one button wraps after the last position", 1, 3, 2, Input::onlyButton, 0, 0, true },
        MachineCase { "no positions make one, and a press stays on it", 1, 0, 0, Input::onlyButton, 0, 0, true },
        MachineCase { "a lamp selects its position", 2, 4, 0, Input::lamp, 2, 2, true },
        MachineCase { "the lamp under the lit lamp notifies again", 1, 4, 2, Input::lamp, 2, 2, true },
        MachineCase { "a label selects its position", 1, 3, 0, Input::label, 1, 1, true },
        MachineCase { "a silent update", 2, 4, 0, Input::silentIndex, 3, 3, false },
        MachineCase { "an index past the end selects the last position", 2, 4, 1, Input::notifyingIndex, 9, 3, true },
        MachineCase { "a start past the end is the last position", 1, 4, 9, Input::onlyButton, 0, 0, true }));

namespace
{

struct ValueCase
{
    const char* what;
    size_t numPositions;
    juce::NormalisableRange<float> range;
    std::optional<float> maximum; // a maximum that does not match the positions
    float value;
    int start, expected;
};

std::ostream& operator<< (std::ostream& out, const ValueCase& c) { return out << c.what; }

class SetValue : public ::testing::TestWithParam<ValueCase>
{
};

juce::NormalisableRange<float> unitRange() { return { 0.0f, 1.0f, 0.01f, 1.0f }; }

juce::NormalisableRange<float> emptyRange()
{
    auto range = unitRange();
    range.end = range.start; // can only be made member by member: the constructors refuse it
    return range;
}

} // namespace

TEST_P (SetValue, MovesSilentlyToTheNearestPosition)
{
    const auto c = GetParam();
    Panel panel (2, c.numPositions);
    auto& control = panel.control;
    control.range = c.range;
    if (c.maximum)
        control.maximum = *c.maximum;
    control.updateCurrentState (c.start, juce::dontSendNotification);

    control.setValue (c.value, juce::sendNotificationSync);

    EXPECT_EQ (control.getState(), c.expected);
    EXPECT_EQ (panel.notifications, 0);
}

INSTANTIATE_TEST_SUITE_P (
    Values, SetValue,
    ::testing::Values (
        ValueCase { "1.5 rounds to 2", 4, unitRange(), {}, 0.5f, 0, 2 },
        ValueCase { "2.5 rounds to 2", 6, unitRange(), {}, 0.5f, 0, 2 },
        ValueCase { "0.5 rounds to 0", 2, unitRange(), {}, 0.5f, 1, 0 },
        ValueCase { "a two-decimal value", 7, unitRange(), {}, 0.83f, 0, 5 },
        ValueCase { "above the range", 4, unitRange(), {}, 1.7f, 0, 3 },
        ValueCase { "below the range", 4, unitRange(), {}, -0.3f, 3, 0 },
        ValueCase { "snapped to the interval", 3, { 0.0f, 2.0f, 1.0f, 1.0f }, {}, 1.4f, 0, 1 },
        ValueCase { "a range without extent keeps the position", 4, emptyRange(), {}, 1.0f, 2, 2 },
        ValueCase { "a maximum past the positions stops at the last", 3, unitRange(), 5.0f, 1.0f, 0, 2 },
        ValueCase { "a maximum below the positions stops at the first", 3, unitRange(), -4.0f, 0.2f, 2, 0 },
        ValueCase { "no positions make one", 0, unitRange(), {}, 1.0f, 0, 0 }));

TEST (HV_Switch_s500, TheLitLampFollowsTheState)
{
    Panel panel (2, 4);
    auto& control = panel.control;
    const auto onLampOf = [&] (int position)
    {
        return control.litLamp().getBounds().getCentre() == control.positionDiodes[position]->getBounds().getCentre()
            && control.litLamp().getWidth() > 0;
    };

    control.setValue (1.0f, juce::dontSendNotification);
    EXPECT_TRUE (onLampOf (3));

    control.setSize (200, 75); // the lamps move
    EXPECT_TRUE (onLampOf (3));

    clickAt (panel.parent, centreIn (panel.parent, *control.positionDiodes[1]));
    EXPECT_TRUE (onLampOf (1));

    clickAt (panel.parent, centreIn (panel.parent, *control.buttons[1]));
    EXPECT_TRUE (onLampOf (2));
}

TEST (HV_Switch_s500, NoPositionsMakeOneWithItsLampAndLabel)
{
    Panel panel (1, 0);
    auto& control = panel.control;

    EXPECT_EQ (control.getNumPositions(), 1);
    EXPECT_EQ (control.positionLabels.size(), 1);
    EXPECT_FLOAT_EQ (control.getMaximum(), 0.0f);
    EXPECT_EQ (control.litLamp().getBounds().getCentre(), control.positionDiodes[0]->getBounds().getCentre());
}

namespace
{

struct LayoutCase
{
    int height;
    size_t numButtons;
    std::vector<juce::Rectangle<int>> buttons;
    juce::Point<int> oneLineName, firstLine, secondLine; // label centres in the parent
    int labelHeight;
};

std::ostream& operator<< (std::ostream& out, const LayoutCase& c)
{
    return out << c.numButtons << " button(s), height " << c.height;
}

class SwitchLayout : public ::testing::TestWithParam<LayoutCase>
{
};

} // namespace

// The switch at (20, 20), 100 wide. The label widths depend on the font; their centres do not.
TEST_P (SwitchLayout, ButtonsAndNameFollowTheHeight)
{
    const auto c = GetParam();

    for (const juce::String name : { "CPS", "ATTEN\nKCS" })
    {
        SCOPED_TRACE (name);
        Panel panel (c.numButtons, 4, name);
        auto& control = panel.control;
        control.setSize (100, c.height);

        ASSERT_EQ (control.buttons.size(), (int) c.buttons.size());
        for (int i = 0; i < control.buttons.size(); ++i)
            EXPECT_EQ (control.buttons[i]->getBounds(), c.buttons[(size_t) i]) << "button " << i;

        EXPECT_EQ (control.nameLabel.getHeight(), c.labelHeight);
        EXPECT_FLOAT_EQ (control.nameLabel.getFont().getHeight(), 0.95f * (float) c.labelHeight);
        EXPECT_TRUE (control.nameLabel.getFont().isBold());
        EXPECT_TRUE (control.nameLabel.getBorderSize().getTop() == 0 && control.nameLabel.getBorderSize().getLeft() == 0);

        if (control.secondNameLabel == nullptr)
        {
            EXPECT_EQ (control.nameLabel.getBounds().getCentre(), c.oneLineName);
            continue;
        }

        EXPECT_EQ (control.nameLabel.getBounds().getCentre(), c.firstLine);
        EXPECT_EQ (control.secondNameLabel->getBounds().getCentre(), c.secondLine);
        EXPECT_EQ (control.secondNameLabel->getHeight(), c.labelHeight);
        EXPECT_FLOAT_EQ (control.secondNameLabel->getFont().getHeight(), 0.9f * (float) c.labelHeight);
    }
}

// A component's height is whole, so the design height 37.5 is bracketed by 37 and 38; at 75
// every length is twice its design value.
INSTANTIATE_TEST_SUITE_P (
    Heights, SwitchLayout,
    ::testing::Values (
        // s = 2: buttons 39, centres 37 apart at y 75 - 19; label height 12.
        LayoutCase { 75, 2, { { 12, 37, 39, 39 }, { 49, 37, 39, 39 } }, { 70, 48 }, { 70, 45 }, { 70, 57 }, 12 },
        LayoutCase { 75, 1, { { 31, 37, 39, 39 } }, { 70, 48 }, { 70, 45 }, { 70, 57 }, 12 },
        // s = 1.0133: buttons R(19.76) = 20, centres R(18.75) = 19 apart; lines R(9.53) = 10 and
        // R(5.88) = 6 apart, one line R(11.15) = 11 down.
        LayoutCase { 38, 2, { { 30, 18, 20, 20 }, { 49, 18, 20, 20 } }, { 70, 34 }, { 70, 33 }, { 70, 39 }, 6 },
        // s = 0.9867: buttons R(19.24) = 19, centres R(18.25) = 18 apart; first line R(9.27) = 9 down.
        LayoutCase { 37, 2, { { 32, 19, 19, 19 }, { 50, 19, 19, 19 } }, { 70, 34 }, { 70, 32 }, { 70, 38 }, 6 },
        LayoutCase { 37, 1, { { 41, 19, 19, 19 } }, { 70, 34 }, { 70, 32 }, { 70, 38 }, 6 }));

namespace
{

struct NameCase
{
    const char* name;
    const char* firstLine;
    std::optional<const char*> secondLine;
};

} // namespace

TEST (HV_ButtonComponent_s500, TheNameSplitsAtTheFirstLineBreak)
{
    const NameCase cases[] = {
        { "ATTEN\nKCS", "ATTEN", "KCS" },
        { "ONE\nTWO\nTHREE", "ONE", "TWO\nTHREE" },
        { "\nBELOW", "", "BELOW" },
        { "HI BW", "HI BW", std::nullopt },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        SimpleSwitch control (1, 3, false);
        control.setButtonName (c.name);

        EXPECT_EQ (control.nameLabel.getText(), c.firstLine);
        EXPECT_FALSE (control.nameLabel.isEditableOnSingleClick() || control.nameLabel.isEditableOnDoubleClick());

        ASSERT_EQ (control.secondNameLabel != nullptr, c.secondLine.has_value());
        if (! c.secondLine)
            continue;

        auto& second = *control.secondNameLabel;
        EXPECT_EQ (second.getText(), *c.secondLine);
        EXPECT_EQ (second.findColour (juce::Label::textColourId), EQ700K_Colours::panelFontColour);
        EXPECT_EQ (second.getJustificationType(), juce::Justification (juce::Justification::centred));
    }

    // A one-line name drops an earlier second line, which would otherwise still show.
    SimpleSwitch control (1, 3, false);
    control.setButtonName ("ATTEN\nKCS");
    control.setButtonName ("CPS");
    EXPECT_TRUE (control.secondNameLabel == nullptr);
    EXPECT_EQ (control.nameLabel.getText(), "CPS");
}

TEST (HV_ButtonComponent_s500, SatellitesLiveInTheParentAndFollowTheControl)
{
    Panel panel (2, 3, "ATTEN\nKCS");
    auto& control = panel.control;
    control.setDiodeLabelsText ({ "5", "10", "20" });

    std::vector<juce::Component*> satellites { &control.nameLabel, control.secondNameLabel.get() };
    satellites.insert (satellites.end(), control.positionLabels.begin(), control.positionLabels.end());

    const auto allAre = [&] (bool visible)
    {
        for (auto* satellite : satellites)
            if (satellite->getParentComponent() != &panel.parent || satellite->isVisible() != visible)
                return false;
        return true;
    };

    EXPECT_TRUE (allAre (true));
    for (auto* label : control.positionLabels)
        EXPECT_TRUE (label->isAlwaysOnTop());
    // The lit lamp lies over the lamps and buttons.
    EXPECT_EQ (control.getChildComponent (control.getNumChildComponents() - 1), &control.litLamp());

    control.setVisible (false);
    EXPECT_TRUE (allAre (false));
    control.setVisible (true);
    EXPECT_TRUE (allAre (true));

    // A move alone carries the satellites along.
    const auto nameCentre = control.nameLabel.getBounds().getCentre();
    const auto labelCentre = control.positionLabels[2]->getBounds().getCentre();
    control.setTopLeftPosition (50, 60);
    EXPECT_EQ (control.nameLabel.getBounds().getCentre(), nameCentre + juce::Point<int> (30, 40));
    EXPECT_EQ (control.positionLabels[2]->getBounds().getCentre(), labelCentre + juce::Point<int> (30, 40));

    // Named once it has a parent: the new second line joins the parent at the next change of the
    // control's parent hierarchy, and shows then.
    control.setButtonName ("HI\nBW");
    EXPECT_EQ (control.secondNameLabel->getParentComponent(), nullptr);
    juce::Component otherParent;
    otherParent.addAndMakeVisible (control);
    EXPECT_EQ (control.secondNameLabel->getParentComponent(), &otherParent);
    EXPECT_TRUE (control.secondNameLabel->isVisible());
}

TEST (HV_ButtonComponent_s500, AGoneControlTakesItsSatellitesAlong)
{
    juce::Component parent;
    auto control = std::make_unique<SimpleSwitch> (1, 4, false);
    control->setButtonName ("ATTEN\nKCS");
    parent.addAndMakeVisible (*control);
    ASSERT_EQ (parent.getNumChildComponents(), 1 + 2 + 4);

    control.reset();
    EXPECT_EQ (parent.getNumChildComponents(), 0);
}

TEST (HV_Switch_s500, PositionLabelsTextsAndColours)
{
    SimpleSwitch control (1, 4, false);
    control.setDiodeLabelsText ({ "1", "2" });
    EXPECT_EQ (control.positionLabels[1]->getText(), "2");
    EXPECT_EQ (control.positionLabels[3]->getText(), "");

    control.setDiodeLabelsText ({ "a", "b", "c", "d", "extra" });
    EXPECT_EQ (control.positionLabels[3]->getText(), "d");

    EXPECT_EQ (control.positionLabels[0]->findColour (juce::Label::textColourId), EQ700K_Colours::panelFontColour);
    control.setDiodeLabelColour (juce::Colours::black);
    for (auto* label : control.positionLabels)
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);
}

TEST (HV_Switch_s500, RenderDefaultSizeRendersWithoutMovingTheButtons)
{
    SimpleSwitch control (2, 4, false);
    control.setBounds (0, 0, 100, 38);
    const auto bounds = control.buttons[1]->getBounds();

    control.renderDefaultSize (75);

    for (auto* button : control.buttons)
    {
        EXPECT_FLOAT_EQ (button->size, 75.0f);
        EXPECT_FLOAT_EQ (button->halfSize, 37.5f);
    }
    EXPECT_EQ (control.buttons[1]->getBounds(), bounds);
}

// Textures are rendered at layout time only: steps, moves and painting draw no new noise.
TEST (HV_Switch_s500, NeitherStepsNorMovesNorPaintingRenderTexturesAgain)
{
    Panel panel (2, 4);
    auto& control = panel.control;
    testing_support::DrawingRandomnessProbe probe;

    control.setValue (1.0f, juce::dontSendNotification);
    clickAt (panel.parent, centreIn (panel.parent, *control.buttons[0]));
    clickAt (panel.parent, centreIn (panel.parent, *control.positionDiodes[0]));
    control.setTopLeftPosition (30, 30);
    testing_support::renderComponent (panel.parent);

    EXPECT_TRUE (probe.untouched());
}
