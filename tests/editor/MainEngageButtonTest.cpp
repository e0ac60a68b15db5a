#include "editor/MainEngageButton.h"
#include "support/ControlOnPanel.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

namespace
{

struct OpenEngage : MainEngageButton
{
    using MainEngageButton::lightDiodes;
    using MainEngageButton::nameLabel;
    using MainEngageButton::unlitDiode;
};

} // namespace

// s = 49 / 25.313 = 1.9358: button R(37.75) = 38, R(3.875) = 4 in, (49 - 38) / 2 = 5 down; both
// lamps R(18.0) = 18, centred at (R(51.49), R(24.39)) = (51, 24); the name R(14.52) = 15 high,
// centred at X + R(68.91) = X + 69 and Y + 49 + 7.5 - R(42.97) = Y + 13.5, truncated.
TEST (MainEngageButton, LayoutAtTheViewsSize)
{
    testing_support::ControlOnPanel<OpenEngage> onPanel;
    auto& control = onPanel.control;
    control.setButtonName ("ENGAGE");
    onPanel.mount ({ 20, 30, 62, 49 });

    EXPECT_EQ (control.getButton().getBounds(), juce::Rectangle<int> (4, 5, 38, 38));
    EXPECT_EQ (control.unlitDiode->getBounds(), juce::Rectangle<int> (42, 15, 18, 18));
    EXPECT_EQ (control.lightDiodes.getFirst()->getBounds(), juce::Rectangle<int> (42, 15, 18, 18));

    auto& name = control.nameLabel;
    EXPECT_EQ (name.getBounds().getCentre(), juce::Point<int> (20 + 69, 30 + 13));
    EXPECT_EQ (name.getHeight(), 15);
    EXPECT_FLOAT_EQ (name.getFont().getHeight(), 0.735f * 15.0f);
    EXPECT_TRUE (name.getFont().isBold());
    EXPECT_EQ (name.getJustificationType(), juce::Justification (juce::Justification::topLeft));
    EXPECT_EQ (name.findColour (juce::Label::textColourId), juce::Colours::black);
}

TEST (MainEngageButton, LightsRedWhenOn)
{
    testing_support::ControlOnPanel<OpenEngage> onPanel;
    auto& control = onPanel.control;
    onPanel.mount ({ 20, 30, 62, 49 });

    control.getButton().setToggleState (true, juce::sendNotification);
    ASSERT_TRUE (control.lightDiodes.getFirst()->isVisible());

    const auto lit = testing_support::pixelAt (testing_support::renderComponent (control), 51, 24);
    EXPECT_TRUE (lit.getRed() > 0xd0 && lit.getGreen() < 0xd0 && lit.getBlue() < 0xb0) << testing_support::describe (lit);
}
