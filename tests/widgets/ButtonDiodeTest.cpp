#include "support/Rendering.h"
#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/DiodeLabel.h"
#include "widgets/EQ700K_Colours.h"

#include <gtest/gtest.h>

using testing_support::coloursNear;
using testing_support::describe;
using testing_support::pixelAt;
using testing_support::renderComponent;

namespace
{

constexpr juce::uint32 unlitAmber = 0xffb49614;

bool drawsNothing (juce::Component& lamp)
{
    const auto image = testing_support::renderDrawing (8, 8, [&] (juce::Graphics& g) { lamp.paint (g); });
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}

juce::Colour centreOf (juce::Component& lamp)
{
    return pixelAt (renderComponent (lamp), lamp.getWidth() / 2, lamp.getWidth() / 2);
}

} // namespace

TEST (ButtonLightDiode, LitInItsColourFromEveryLayoutAndRecolouring)
{
    ButtonLightDiode lamp;
    EXPECT_TRUE (drawsNothing (lamp)); // before its first layout

    lamp.setSize (60, 60);
    EXPECT_TRUE (coloursNear (centreOf (lamp), juce::Colour (0xffc8ffff), 8)) << describe (centreOf (lamp));

    lamp.setDiodeColour (EQ700K_Colours::redColour);
    EXPECT_TRUE (coloursNear (centreOf (lamp), juce::Colour (0xffe0c096), 8)) << describe (centreOf (lamp));
}

TEST (ButtonLightDiode, RecolouredWithoutASizeShowsTheColourFromItsNextLayout)
{
    ButtonLightDiode lamp;
    lamp.setDiodeColour (EQ700K_Colours::redColour);
    EXPECT_TRUE (drawsNothing (lamp));

    lamp.setSize (60, 60);
    EXPECT_TRUE (coloursNear (centreOf (lamp), juce::Colour (0xffe0c096), 8)) << describe (centreOf (lamp));
}

TEST (ButtonDarkDiode, AlwaysDrawsInItsOwnAmber)
{
    ButtonDarkDiode lamp;
    lamp.setSize (60, 60);
    lamp.setDiodeColour (EQ700K_Colours::redColour);

    // A disc of diameter 30 in the middle of a 60 x 60 image.
    EXPECT_TRUE (coloursNear (centreOf (lamp), juce::Colour (unlitAmber), 3)) << describe (centreOf (lamp));
    EXPECT_EQ (pixelAt (renderComponent (lamp), 10, 30).getAlpha(), 0);
}

// A lit lamp over an unlit one lets the click through to it.
TEST (ButtonDiodes, AClickOnALitLampReachesTheUnlitLampBelow)
{
    juce::Component panel;
    panel.setBounds (0, 0, 100, 100);
    panel.setVisible (true);

    ButtonDarkDiode unlit;
    ButtonLightDiode lit;
    for (auto* lamp : std::initializer_list<juce::Component*> { &unlit, &lit })
    {
        panel.addAndMakeVisible (lamp);
        lamp->setBounds (20, 20, 40, 40);
    }

    int clicks = 0;
    unlit.onClick = [&] { ++clicks; };

    EXPECT_EQ (testing_support::clickAt (panel, { 40.0f, 40.0f }), &unlit);
    EXPECT_EQ (clicks, 1);
}

TEST (DiodeLabel, ReportsPresses)
{
    DiodeLabel label;
    label.setSize (30, 10);
    EXPECT_TRUE (label.getText().isEmpty());

    int clicks = 0;
    label.onClick = [&] { ++clicks; };
    testing_support::pressAt (label, { 5.0f, 5.0f });
    EXPECT_EQ (clicks, 1);

    // An owner that clears the callback gets no call and no crash.
    label.onClick = nullptr;
    testing_support::pressAt (label, { 5.0f, 5.0f });

    ButtonDarkDiode lamp;
    lamp.onClick = nullptr;
    testing_support::pressAt (lamp, { 1.0f, 1.0f });
}

// Widths that give an image below one pixel leave the lamp without one: it draws nothing, and
// neither layout nor recolouring asserts.
TEST (ButtonDiodes, TooNarrowForAnImageDrawsNothing)
{
    ButtonDarkDiode unlit; // (int) (1 * 0.5) = 0
    unlit.setSize (1, 10);
    unlit.setDiodeColour (EQ700K_Colours::redColour);
    EXPECT_TRUE (drawsNothing (unlit));

    unlit.setSize (40, 40);
    unlit.setSize (1, 40); // an earlier image goes with the size
    EXPECT_TRUE (drawsNothing (unlit));

    ButtonLightDiode lit; // width 0
    lit.setSize (40, 40);
    lit.setSize (0, 40);
    lit.setDiodeColour (EQ700K_Colours::redColour);
    EXPECT_TRUE (drawsNothing (lit));
}
