#include "editor/ClipperDiodes.h"
#include "support/ControlOnPanel.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::ControlOnPanel;

namespace
{

/** The clip lamps as the view places them, at (20, 30), 36 x 49, counting the calls of each
    callback. */
struct ClipLamps
{
    ClipLamps()
    {
        onPanel.mount ({ 20, 30, 36, 49 });
        onPanel.control.onLeftDiodeClicked = [this] { ++left; };
        onPanel.control.onRightDiodeClicked = [this] { ++right; };
    }

    ClipperDiodes& control() { return onPanel.control; }

    /** The control's lamps of a kind, left before right. */
    template <typename Lamp>
    std::vector<Lamp*> lamps()
    {
        std::vector<Lamp*> found;
        for (auto* child : control().getChildren())
            if (auto* lamp = dynamic_cast<Lamp*> (child))
                found.push_back (lamp);
        return found;
    }

    ControlOnPanel<ClipperDiodes> onPanel;
    int left = 0, right = 0;
};

} // namespace

// s = 36 x 0.05377123 = 1.9358: lamps R(18.0) = 18, centred at R(9.68) = 10 and R(26.71) = 27
// across, R(27.1) = 27 down (so they share a column); labels R(14.52) = 15 high, centred R(16.45)
// = 16 down; "CLIP" across the control, R(13.55) = 14 high, R(17.42) = 17 above its bottom.
TEST (ClipperDiodes, LayoutAtTheViewsSize)
{
    ClipLamps clip;

    const auto unlit = clip.lamps<ButtonDarkDiode>();
    const auto lit = clip.lamps<ButtonLightDiode>();
    ASSERT_EQ (unlit.size(), 2u);
    ASSERT_EQ (lit.size(), 2u);
    const juce::Rectangle<int> leftLamp (1, 18, 18, 18), rightLamp (18, 18, 18, 18);
    EXPECT_EQ (unlit[0]->getBounds(), leftLamp);
    EXPECT_EQ (lit[0]->getBounds(), leftLamp);
    EXPECT_EQ (unlit[1]->getBounds(), rightLamp);
    EXPECT_EQ (lit[1]->getBounds(), rightLamp);
    EXPECT_EQ (lit[0], &clip.control().getLeftLightDiode());
    EXPECT_FALSE (lit[0]->isVisible() || lit[1]->isVisible());

    const struct { const char* text; juce::Point<int> centre; } labels[] = { { "1", { 30, 46 } }, { "2", { 47, 46 } } };
    for (const auto& expected : labels)
    {
        SCOPED_TRACE (expected.text);
        auto* label = clip.onPanel.labelWithText (expected.text);
        ASSERT_NE (label, nullptr);
        EXPECT_EQ (label->getBounds().getCentre(), expected.centre);
        EXPECT_EQ (label->getHeight(), 15);
        EXPECT_FLOAT_EQ (label->getFont().getHeight(), 0.735f * 15.0f);
        EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centredTop));
        EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);
    }

    auto* name = clip.onPanel.labelWithText ("CLIP");
    ASSERT_NE (name, nullptr);
    EXPECT_EQ (name->getBounds(), juce::Rectangle<int> (20, 30 + 32, 36, 14));
    EXPECT_FLOAT_EQ (name->getFont().getHeight(), 0.735f * 14.0f);
    EXPECT_EQ (name->getJustificationType(), juce::Justification (juce::Justification::centred));
}

// A lamp's bounds are half-open: its left and top edges belong to it, its right and bottom
// edges do not. Where the two lamps share a column, the left one takes the press.
TEST (ClipperDiodes, APressCallsTheCallbackOfTheLampItLiesIn)
{
    const struct
    {
        juce::Point<float> at;
        int left, right;
    } cases[] = {
        { { 10, 27 }, 1, 0 }, { { 1, 18 }, 1, 0 },   { { 18, 27 }, 1, 0 }, // both lamps' column
        { { 19, 27 }, 0, 1 }, { { 35, 35 }, 0, 1 },   { { 27, 18 }, 0, 1 },
        { { 0, 27 }, 0, 0 },  { { 10, 17 }, 0, 0 },   { { 10, 36 }, 0, 0 }, { { 30, 36 }, 0, 0 },
        { { 18, 5 }, 0, 0 },  { { 18, 45 }, 0, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (::testing::Message() << c.at.x << ", " << c.at.y);
        ClipLamps clip;
        testing_support::pressAt (clip.control(), c.at);
        EXPECT_EQ (clip.left, c.left);
        EXPECT_EQ (clip.right, c.right);
    }
}

// Lit or not, a lamp lets the press through to the control.
TEST (ClipperDiodes, ClicksOnTheLampsReachTheControl)
{
    ClipLamps clip;
    clip.control().getRightLightDiode().setVisible (true);

    auto* reached = testing_support::clickAt (clip.onPanel.panel, clip.onPanel.centreOf (clip.control().getRightLightDiode()));
    EXPECT_EQ (reached, &clip.control());
    EXPECT_EQ (clip.right, 1);

    reached = testing_support::clickAt (clip.onPanel.panel, { 20.0f + 5.0f, 30.0f + 27.0f });
    EXPECT_EQ (reached, &clip.control());
    EXPECT_EQ (clip.left, 1);
}

TEST (ClipperDiodes, TheLitLampsAreRed)
{
    ClipLamps clip;
    clip.control().getLeftLightDiode().setVisible (true);

    const auto lit = testing_support::pixelAt (testing_support::renderComponent (clip.control()), 10, 27);
    EXPECT_TRUE (lit.getRed() > 0xd0 && lit.getGreen() < 0xd0 && lit.getBlue() < 0xb0) << testing_support::describe (lit);
}

TEST (ClipperDiodes, LabelsLiveInTheParentAndFollowTheControl)
{
    ClipLamps clip;
    std::vector<juce::Label*> labels { clip.onPanel.labelWithText ("1"), clip.onPanel.labelWithText ("2"),
                                       clip.onPanel.labelWithText ("CLIP") };

    const auto allVisible = [&] (bool visible)
    {
        for (auto* label : labels)
            if (label == nullptr || label->isVisible() != visible)
                return false;
        return true;
    };

    EXPECT_TRUE (allVisible (true));
    clip.control().setVisible (false);
    EXPECT_TRUE (allVisible (false));
    clip.control().setVisible (true);
    EXPECT_TRUE (allVisible (true));

    // A move alone carries them along.
    clip.control().setTopLeftPosition (60, 70);
    EXPECT_EQ (clip.onPanel.labelWithText ("1")->getBounds().getCentre(), juce::Point<int> (70, 86));
    EXPECT_EQ (clip.onPanel.labelWithText ("CLIP")->getBounds(), juce::Rectangle<int> (60, 102, 36, 14));
}
