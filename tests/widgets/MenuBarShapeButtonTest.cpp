#include "widgets/MenuBarShapeButton.h"

#include "support/Rendering.h"

#include <gtest/gtest.h>

namespace
{

using juce::Rectangle;
using testing_support::coloursNear;
using testing_support::describe;
using testing_support::pixelAt;

juce::Path rectanglePath (float x, float y, float w, float h)
{
    juce::Path p;
    p.addRectangle (x, y, w, h);
    return p;
}

/** A 200 x 200 button whose square icon is fitted to 100 pixels: it covers (50, 50)..(150, 150). */
struct SquareIconButton
{
    SquareIconButton()
    {
        button.setSize (200, 200);
        button.setShape (rectanglePath (0.0f, 0.0f, 10.0f, 10.0f));
        button.setContentHeight (100.0f);
    }

    juce::Colour pixel (int x, int y) { return pixelAt (testing_support::renderComponent (button), x, y); }

    juce::MenuBarShapeButton button;
};

TEST (MenuBarShapeButton, IsTransparentUntilColoursAreSet)
{
    SquareIconButton b;
    EXPECT_EQ (b.pixel (100, 100).getAlpha(), 0) << describe (b.pixel (100, 100));

    b.button.setColours (juce::MainMenuColours());
    EXPECT_TRUE (coloursNear (b.pixel (100, 100), juce::MainMenuColours()[4], 1));
}

TEST (MenuBarShapeButton, ColourFollowsDisabledThenToggledThenNormal)
{
    const juce::MainMenuColours palette;
    const juce::Colour normal = palette[4], toggled = palette[3], disabled = palette[5];

    struct Case
    {
        const char* name;
        bool toggledOn, buttonEnabled, parentEnabled, hovered;
        juce::Colour expected;
    };
    const Case cases[] = {
        { "normal", false, true, true, false, normal },
        { "hovered looks normal", false, true, true, true, normal },
        { "toggled", true, true, true, false, toggled },
        { "disabled over toggled", true, false, true, false, disabled },
        { "disabled ancestor over toggled", true, true, false, false, disabled },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::Component parent;
        SquareIconButton b;
        parent.addAndMakeVisible (b.button);
        b.button.setColours (palette);
        b.button.setToggleState (c.toggledOn, juce::dontSendNotification);
        b.button.setEnabled (c.buttonEnabled);
        parent.setEnabled (c.parentEnabled);
        if (c.hovered)
            b.button.setState (juce::Button::buttonOver);

        EXPECT_TRUE (coloursNear (b.pixel (100, 100), c.expected, 1)) << describe (b.pixel (100, 100));
    }
}

TEST (MenuBarShapeButton, APressedIconShrinksByFourPercentPerSideAboutItsCentre)
{
    SquareIconButton b;
    b.button.setColours (juce::MainMenuColours());
    const auto filled = [&b] (int x, int y) { return b.pixel (x, y).getAlpha() > 250; };
    const auto empty = [&b] (int x, int y) { return b.pixel (x, y).getAlpha() < 5; };

    // Up: the icon covers 50..150.
    EXPECT_TRUE (filled (50, 100) && filled (149, 100) && filled (100, 50) && filled (100, 149));
    EXPECT_TRUE (empty (49, 100) && empty (150, 100));

    // Down: 4 % of 100 off each side, 54..146.
    b.button.setState (juce::Button::buttonDown);
    EXPECT_TRUE (filled (54, 100) && filled (145, 100) && filled (100, 54) && filled (100, 145));
    EXPECT_TRUE (empty (53, 100) && empty (146, 100) && empty (100, 53) && empty (100, 146));
}

TEST (MenuBarShapeButton, FitsTheIconToTheContentHeightAndKeepsItCentred)
{
    juce::MenuBarShapeButton button;
    button.setSize (40, 40);

    // The first icon stays where it is until a content height is given.
    button.setShape (rectanglePath (3.0f, 4.0f, 20.0f, 10.0f));
    EXPECT_EQ (button.getShape().getBounds(), Rectangle<float> (3.0f, 4.0f, 20.0f, 10.0f));

    // Margin (40 - 20) / 2 = 10: fitted into (10, 10, 20, 20), proportions kept.
    button.setContentHeight (20.0f);
    EXPECT_EQ (button.getShape().getBounds(), Rectangle<float> (10.0f, 15.0f, 20.0f, 10.0f));

    // A new icon takes the old one's height, 10: fitted into (15, 15, 10, 10).
    button.setShape (rectanglePath (0.0f, 0.0f, 5.0f, 10.0f));
    EXPECT_EQ (button.getShape().getBounds(), Rectangle<float> (17.5f, 15.0f, 5.0f, 10.0f));

    // Resizing re-centres the icon at its size.
    button.setSize (60, 60);
    EXPECT_EQ (button.getShape().getBounds(), Rectangle<float> (27.5f, 25.0f, 5.0f, 10.0f));
}

TEST (MenuBarShapeButton, ContentWidthForHeight)
{
    juce::Path onlyMoves;
    onlyMoves.startNewSubPath (1.0f, 1.0f);
    onlyMoves.startNewSubPath (5.0f, 9.0f);

    juce::Path flatLine;
    flatLine.startNewSubPath (0.0f, 5.0f);
    flatLine.lineTo (30.0f, 5.0f);

    struct Case
    {
        const char* name;
        juce::Path icon;
        float height;
        int expected;
    };
    const Case cases[] = {
        { "no icon", {}, 20.0f, 0 },
        { "move-to elements only", onlyMoves, 20.0f, 0 },
        { "an icon without height", flatLine, 20.0f, 0 },
        { "twice as wide as high", rectanglePath (7.0f, 7.0f, 20.0f, 10.0f), 7.0f, 14 },
        { "truncated", rectanglePath (0.0f, 0.0f, 10.0f, 3.0f), 1.0f, 3 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        juce::MenuBarShapeButton button;
        button.setShape (c.icon);
        EXPECT_EQ (button.getContentWidthForHeight (c.height), c.expected);
    }
}

TEST (MenuBarShapeButton, AnEmptyIconPaintsNothing)
{
    juce::Path onlyMove;
    onlyMove.startNewSubPath (5.0f, 5.0f);

    juce::MenuBarShapeButton button;
    button.setColours (juce::MainMenuColours());
    button.setShape (onlyMove);
    button.setSize (20, 20);
    button.setContentHeight (10.0f);

    EXPECT_TRUE (juce::MenuBarShapeButton::isEmptyIcon (button.getShape()));
    const auto image = testing_support::renderComponent (button);
    for (int y = 0; y < 20; y += 4)
        for (int x = 0; x < 20; x += 4)
            EXPECT_EQ (pixelAt (image, x, y).getAlpha(), 0) << x << ", " << y;
}

TEST (MenuBarShapeButton, ReportsTheMouseEnteringAndLeaving)
{
    juce::MenuBarShapeButton button;
    button.setSize (20, 20);
    button.setVisible (true);
    int entered = 0, left = 0;
    button.onMouseEnterFunc = [&entered] { ++entered; };
    button.onMouseExitFunc = [&left] { ++left; };

    button.mouseEnter (testing_support::mouseEventAt (button, { 5.0f, 5.0f }));
    EXPECT_EQ (entered, 1);
    EXPECT_EQ (button.getState(), juce::Button::buttonOver);

    button.mouseExit (testing_support::mouseEventAt (button, { 25.0f, 5.0f }));
    EXPECT_EQ (left, 1);
    EXPECT_EQ (button.getState(), juce::Button::buttonNormal);

    // Callbacks that were cleared are skipped.
    button.onMouseEnterFunc = nullptr;
    button.onMouseExitFunc = nullptr;
    button.mouseEnter (testing_support::mouseEventAt (button, { 5.0f, 5.0f }));
    button.mouseExit (testing_support::mouseEventAt (button, { 25.0f, 5.0f }));
}

} // namespace
