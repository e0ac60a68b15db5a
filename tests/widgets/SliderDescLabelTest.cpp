#include "support/Rendering.h"
#include "widgets/SliderDescLabel.h"

#include <gtest/gtest.h>

using testing_support::mouseEventAt;

namespace
{

const juce::Colour base { 0xff336699 };

juce::Colour textColour (const SliderDescLabel& label)
{
    return label.findColour (juce::Label::textColourId);
}

struct ClickableLabel
{
    ClickableLabel()
    {
        label.setBounds (0, 0, 60, 12);
        label.baseColour = base;
        label.isClickable = true;
        label.linkedButton = button.get();
        button->onClick = [this] { ++clicks; };
    }

    std::unique_ptr<juce::ToggleButton> button = std::make_unique<juce::ToggleButton>();
    SliderDescLabel label;
    int clicks = 0;
};

} // namespace

// Made clickable and linked, a click on the label toggles the button at once; pressed, the
// label shows its colour at alpha 0xF2. A release outside the label toggles nothing.
TEST (SliderDescLabel, AClickTogglesTheLinkedButton)
{
    ClickableLabel linked;
    auto& label = linked.label;

    label.mouseDown (mouseEventAt (label, { 10.0f, 5.0f }));
    EXPECT_EQ (textColour (label), base.withAlpha ((juce::uint8) 0xf2));
    label.mouseUp (mouseEventAt (label, { 10.0f, 5.0f }));

    EXPECT_TRUE (linked.button->getToggleState());
    EXPECT_FALSE (label.lastToggleState);
    EXPECT_EQ (linked.clicks, 1);
    EXPECT_EQ (textColour (label), base);

    label.mouseDown (mouseEventAt (label, { 10.0f, 5.0f }));
    label.mouseDrag (mouseEventAt (label, { 70.0f, 5.0f }, {}, 1, { 10.0f, 5.0f }, true));
    label.mouseUp (mouseEventAt (label, { 70.0f, 5.0f }, {}, 1, { 10.0f, 5.0f }, true));
    EXPECT_TRUE (linked.button->getToggleState());
    EXPECT_EQ (linked.clicks, 1);
    EXPECT_EQ (textColour (label), base);
}

// The label holds its button weakly: with the button gone first, hovering and clicking the
// label do nothing to it and nothing goes wrong.
TEST (SliderDescLabel, SurvivesItsLinkedButton)
{
    ClickableLabel linked;
    auto& label = linked.label;
    linked.button.reset();

    label.mouseEnter (mouseEventAt (label, { 10.0f, 5.0f }));
    EXPECT_FALSE (label.isHovered);
    label.mouseDown (mouseEventAt (label, { 10.0f, 5.0f }));
    label.mouseUp (mouseEventAt (label, { 10.0f, 5.0f }));
    label.mouseExit (mouseEventAt (label, { 10.0f, 5.0f }));

    EXPECT_EQ (textColour (label), base);
    EXPECT_EQ (linked.clicks, 0);
}
