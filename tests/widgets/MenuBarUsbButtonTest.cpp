#include "widgets/MenuBarUsbButton.h"

#include "support/MessagePump.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using testing_support::coloursNear;
using testing_support::describe;

const juce::MainMenuColours palette;
const juce::Colour unlit = palette[4], lit = palette[6];

/** Gives the button an icon that fills it, so its centre pixel shows its colour. */
void fillWithIcon (juce::MenuBarUsbButton& button)
{
    juce::Path square;
    square.addRectangle (0.0f, 0.0f, 10.0f, 10.0f);
    button.setSize (20, 20);
    button.setShape (square);
    button.setContentHeight (20.0f);
}

juce::Colour shownColour (juce::MenuBarUsbButton& button)
{
    return testing_support::pixelAt (testing_support::renderComponent (button), 10, 10);
}

void blink (juce::MenuBarUsbButton& button)
{
    static_cast<juce::Timer&> (button).timerCallback();
}

TEST (MenuBarUsbButton, ShowsTheConnectionStateLikeALamp)
{
    struct Case
    {
        bool connected, hasDevices;
        juce::Colour expected;
        bool blinking;
    };
    const Case cases[] = {
        { true, false, lit, false },
        { true, true, lit, false },
        { false, true, unlit, true },
        { false, false, unlit, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "connected " << c.connected << ", units listed " << c.hasDevices);
        juce::MenuBarUsbButton button;
        fillWithIcon (button);
        button.setColours (palette);
        button.setHasDevices (c.hasDevices);
        button.setIsConnected (c.connected);

        EXPECT_TRUE (coloursNear (shownColour (button), c.expected, 1)) << describe (shownColour (button));
        EXPECT_EQ (button.isTimerRunning(), c.blinking);
        if (c.blinking)
        {
            EXPECT_EQ (button.getTimerInterval(), 500);
        }
    }
}

TEST (MenuBarUsbButton, BlinkingStartsUnlitEachTimeItIsEntered)
{
    juce::MenuBarUsbButton button;
    fillWithIcon (button);
    button.setColours (palette);

    button.setHasDevices (true);
    EXPECT_TRUE (coloursNear (shownColour (button), unlit, 1));
    blink (button);
    EXPECT_TRUE (coloursNear (shownColour (button), lit, 1));

    // Telling it again that it is not connected changes nothing, the phase included.
    button.setIsConnected (false);
    EXPECT_TRUE (coloursNear (shownColour (button), lit, 1));

    blink (button);
    EXPECT_TRUE (coloursNear (shownColour (button), unlit, 1));
    blink (button);

    // Connecting and losing the unit again restarts the blinking, unlit.
    button.setIsConnected (true);
    EXPECT_FALSE (button.isTimerRunning());
    button.setIsConnected (false);
    EXPECT_TRUE (button.isTimerRunning());
    EXPECT_TRUE (coloursNear (shownColour (button), unlit, 1));
}

TEST (MenuBarUsbButton, IsTransparentUntilColoursAreSetThenShowsItsState)
{
    juce::MenuBarUsbButton button;
    fillWithIcon (button);
    button.setIsConnected (true);
    EXPECT_EQ (shownColour (button).getAlpha(), 0);

    button.setColours (palette);
    EXPECT_TRUE (coloursNear (shownColour (button), lit, 1)) << describe (shownColour (button));
}

TEST (MenuBarUsbButton, NeverBlinksFasterThanItsDefaultWhenGivenNoInterval)
{
    for (const int interval : { 0, -5 })
    {
        SCOPED_TRACE (interval);
        juce::MenuBarUsbButton button (interval);
        button.setHasDevices (true);
        EXPECT_EQ (button.getTimerInterval(), 500);
    }
}

TEST (MenuBarUsbButton, ABlinkingButtonCanBeDestroyed)
{
    auto button = std::make_unique<juce::MenuBarUsbButton> (5);
    button->setHasDevices (true);
    ASSERT_TRUE (button->isTimerRunning());

    button.reset();
    testing_support::pumpFor (30);
}

} // namespace
