#include "editor/UsbDiode.h"
#include "support/ControlOnPanel.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

// s = 28 x 0.06913444 = 1.9358: both lamps R(18.0) = 18, centred at (14, R(27.1) = 27); the label
// R(14.52) = 15 high, centred R(16.45) = 16 down.
TEST (UsbDiode, LayoutAtTheViewsSize)
{
    testing_support::ControlOnPanel<UsbDiode> onPanel;
    auto& control = onPanel.mount ({ 20, 30, 28, 49 });

    int lamps = 0;
    for (auto* child : control.getChildren())
    {
        EXPECT_EQ (child->getBounds(), juce::Rectangle<int> (5, 18, 18, 18));
        ++lamps;
    }
    EXPECT_EQ (lamps, 2);
    EXPECT_FALSE (control.getLightDiode().isVisible());

    auto* label = onPanel.labelWithText ("USB");
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getBounds().getCentre(), juce::Point<int> (20 + 14, 30 + 16));
    EXPECT_EQ (label->getHeight(), 15);
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), 0.735f * 15.0f);
    EXPECT_EQ (label->getJustificationType(), juce::Justification (juce::Justification::centredTop));
    EXPECT_EQ (label->findColour (juce::Label::textColourId), juce::Colours::black);

    control.setVisible (false);
    EXPECT_FALSE (label->isVisible());
    control.setVisible (true);
    EXPECT_TRUE (label->isVisible());
}

// Connected, the lamp lights in the kit's pale colour, not in the panel's red.
TEST (UsbDiode, LightsPale)
{
    testing_support::ControlOnPanel<UsbDiode> onPanel;
    auto& control = onPanel.mount ({ 20, 30, 28, 49 });
    control.getLightDiode().setVisible (true);

    const auto lit = testing_support::pixelAt (testing_support::renderComponent (control), 14, 27);
    EXPECT_TRUE (lit.getRed() > 0xb0 && lit.getGreen() > 0xd0 && lit.getBlue() > 0xd0) << testing_support::describe (lit);
}
