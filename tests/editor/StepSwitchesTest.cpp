#include "editor/AttenKcsSwitch.h"
#include "editor/BoostKcsSwitch.h"
#include "editor/CpsSwitch.h"
#include "editor/HiBWSwitch.h"
#include "support/ControlOnPanel.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using testing_support::ControlOnPanel;

namespace
{

/** Opens a switch's parts to the test. */
template <typename Switch>
struct Open : Switch
{
    using Switch::buttons;
    using Switch::lightDiodes;
    using Switch::positionDiodes;
    using Switch::positionLabels;
};

/** What the test reads of any of the four switches. */
struct Parts
{
    HV_Switch_s500& control;
    juce::OwnedArray<HV_Button_s500>& buttons;
    juce::OwnedArray<ButtonDiode>& lamps;
    juce::OwnedArray<DiodeLabel>& labels;
    ButtonDiode& litLamp;
};

/** Each switch as the channel view places it: named and labelled, then mounted at (20, 30)
    with its width and the height 72. */
struct Mounted
{
    virtual ~Mounted() = default;
    virtual Parts parts() = 0;
};

template <typename Switch>
struct MountedSwitch : Mounted
{
    MountedSwitch (const char* name, const juce::StringArray& labels, int width)
    {
        onPanel.control.setButtonName (name);
        onPanel.control.setDiodeLabelsText (labels);
        onPanel.mount ({ 20, 30, width, 72 });
    }

    Parts parts() override
    {
        auto& c = onPanel.control;
        return { c, c.buttons, c.positionDiodes, c.positionLabels, *c.lightDiodes.getFirst() };
    }

    ControlOnPanel<Open<Switch>> onPanel;
};

struct LayoutCase
{
    const char* what;
    std::function<std::unique_ptr<Mounted>()> make;
    std::vector<juce::Rectangle<int>> buttons, lamps;
    std::vector<juce::Point<int>> labelCentres; // in the panel
};

std::ostream& operator<< (std::ostream& out, const LayoutCase& c) { return out << c.what; }

class StepSwitchLayout : public ::testing::TestWithParam<LayoutCase>
{
};

template <typename Switch>
std::function<std::unique_ptr<Mounted>()> maker (const char* name, std::vector<const char*> labels, int width)
{
    // Test parameters outlive the framework, so they hold no StringArray (whose leak check runs first).
    return [=] { return std::make_unique<MountedSwitch<Switch>> (name, juce::StringArray (labels.data(), (int) labels.size()), width); };
}

} // namespace

// At the height 72 the scale is 1.92: lamps R(16.0) = 16, centred R(10.75) = 11 down and
// R(11.616) = 12 apart, the row started at R((width - (n - 1) x 11.616) / 2); labels 13 high,
// centred on the switch's top edge (R(10.75) - R(10.56) = 0) over their lamps, nudged left by
// R(1.92) = 2 or R(0.96) = 1. Buttons R(37.44) = 37, two of them R(35.52) = 36 apart.
TEST_P (StepSwitchLayout, LampsLabelsAndButtonsAtTheViewsSize)
{
    const auto c = GetParam();
    const auto mounted = c.make();
    auto p = mounted->parts();

    ASSERT_EQ (p.buttons.size(), (int) c.buttons.size());
    for (int i = 0; i < p.buttons.size(); ++i)
        EXPECT_EQ (p.buttons[i]->getBounds(), c.buttons[(size_t) i]) << "button " << i;

    ASSERT_EQ (p.lamps.size(), (int) c.lamps.size());
    for (int i = 0; i < p.lamps.size(); ++i)
    {
        EXPECT_EQ (p.lamps[i]->getBounds(), c.lamps[(size_t) i]) << "lamp " << i;

        auto& label = *p.labels[i];
        EXPECT_EQ (label.getBounds().getCentre(), c.labelCentres[(size_t) i]) << "label " << i;
        EXPECT_EQ (label.getHeight(), 13);
        EXPECT_FLOAT_EQ (label.getFont().getHeight(), 0.65f * 13.0f);
        EXPECT_TRUE (label.getFont().isBold());
        EXPECT_TRUE (label.getBorderSize().getLeft() == 0 && label.getBorderSize().getTop() == 0);
    }

    // The lit lamp has the lamps' size and sits on the current one, wherever that is.
    for (int position = 0; position < p.lamps.size(); ++position)
    {
        p.control.updateCurrentState (position, juce::dontSendNotification);
        EXPECT_EQ (p.litLamp.getBounds(), c.lamps[(size_t) position]) << "position " << position;
    }

    // Lit in red (its bright core), where the kit's lamp would be pale blue-white.
    const auto lit = testing_support::pixelAt (testing_support::renderComponent (p.control), p.litLamp.getBounds().getCentreX(),
                                               p.litLamp.getBounds().getCentreY());
    EXPECT_TRUE (lit.getRed() > 0xd0 && lit.getGreen() < 0xd0 && lit.getBlue() < 0xb0) << testing_support::describe (lit);
}

INSTANTIATE_TEST_SUITE_P (
    ViewSizes, StepSwitchLayout,
    ::testing::Values (
        // x0 = R(18.58) = 19; "20", "30", "60" 2 left of their lamps, "100" straight over its lamp.
        LayoutCase { "CPS 72 wide", maker<CpsSwitch> ("CPS", { "20", "30", "60", "100" }, 72),
                     { { 0, 36, 37, 37 }, { 36, 36, 37, 37 } },
                     { { 11, 3, 16, 16 }, { 23, 3, 16, 16 }, { 35, 3, 16, 16 }, { 47, 3, 16, 16 } },
                     { { 37, 30 }, { 49, 30 }, { 61, 30 }, { 75, 30 } } },
        // x0 = R(7.15) = 7: the row reaches a pixel past the left edge and three past the right.
        LayoutCase { "BOOST KCS 84 wide", maker<BoostKcsSwitch> ("BOOST KCS", { "3", "4", "5", "6", "10", "12", "16" }, 84),
                     { { 6, 36, 37, 37 }, { 42, 36, 37, 37 } },
                     { { -1, 3, 16, 16 }, { 11, 3, 16, 16 }, { 23, 3, 16, 16 }, { 35, 3, 16, 16 },
                       { 47, 3, 16, 16 }, { 59, 3, 16, 16 }, { 71, 3, 16, 16 } },
                     { { 27, 30 }, { 39, 30 }, { 51, 30 }, { 62, 30 }, { 73, 30 }, { 86, 30 }, { 99, 30 } } },
        // x0 = R(9.58) = 10; no nudges.
        LayoutCase { "HI BW 54 wide", maker<HiBWSwitch> ("HI BW", { "1", "2", "3", "4" }, 54),
                     { { 9, 36, 37, 37 } },
                     { { 2, 3, 16, 16 }, { 14, 3, 16, 16 }, { 26, 3, 16, 16 }, { 38, 3, 16, 16 } },
                     { { 30, 30 }, { 42, 30 }, { 54, 30 }, { 66, 30 } } },
        // x0 = R(12.88) = 13; "10" 2 left of its lamp.
        LayoutCase { "ATTEN KCS 49 wide", maker<AttenKcsSwitch> ("ATTEN\nKCS", { "5", "10", "20" }, 49),
                     { { 6, 36, 37, 37 } },
                     { { 5, 3, 16, 16 }, { 17, 3, 16, 16 }, { 29, 3, 16, 16 } },
                     { { 33, 30 }, { 43, 30 }, { 57, 30 } } }));

TEST (StepSwitches, ButtonsAndPositionsOfEachSwitch)
{
    const struct
    {
        const char* what;
        std::function<std::unique_ptr<HV_Switch_s500>()> make;
        int buttons, positions;
    } cases[] = {
        { "CPS", [] { return std::make_unique<CpsSwitch>(); }, 2, 4 },
        { "BOOST KCS", [] { return std::make_unique<BoostKcsSwitch>(); }, 2, 7 },
        { "HI BW", [] { return std::make_unique<HiBWSwitch>(); }, 1, 4 },
        { "ATTEN KCS", [] { return std::make_unique<AttenKcsSwitch>(); }, 1, 3 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto control = c.make();
        EXPECT_EQ (control->getNumButtons(), c.buttons);
        EXPECT_EQ (control->getNumPositions(), c.positions);
        EXPECT_FLOAT_EQ (control->getMaximum(), (float) (c.positions - 1));
    }
}
