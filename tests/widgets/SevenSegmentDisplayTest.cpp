#include "support/Rendering.h"
#include "widgets/SevenSegmentDisplay.h"

#include <gtest/gtest.h>

namespace
{

using testing_support::describe;
using testing_support::pixelAt;

struct ParseCase
{
    const char* text;
    const char* digits; // the three glyphs, left to right
    bool dot0;
    bool dot1;
};

SevenSegmentDisplay::Reading readingOf (const ParseCase& c)
{
    return { { c.digits[0], c.digits[1], c.digits[2] }, { c.dot0, c.dot1 } };
}

std::string describe (const SevenSegmentDisplay::Reading& r)
{
    return std::string { r.digits[0], r.digits[1], r.digits[2] } + (r.dots[0] ? " dot0" : "") + (r.dots[1] ? " dot1" : "");
}

TEST (SevenSegmentDisplayTest, ParsesValueTextsIntoRightAlignedGlyphs)
{
    const ParseCase cases[] {
        { "5.0", "N50", false, true },
        { "10.0", "100", false, true },
        { "0.4", "N04", false, true },
        { "0.0", "N00", false, true },
        { "7", "NN7", false, false },
        { "-7", "-N7", false, false },
        { "-12", "-12", false, false },
        { "-123", "n23", false, false },   // the minus and the one share the first digit
        { "-12.5", "n25", false, true },
        { "-25.5", "-25", false, false },  // the point moves with its 5 onto the third digit, which has none
        { "-0.5", "-05", false, true },
        { "12.5", "125", false, true },
        { "100", "100", false, false },
        { "12345", "123", false, false },  // bytes past the third position are ignored
        { "5.", "NN5", false, false },
        { "2.5k", "N25", false, true },    // a unit letter is a blank position
        { "ON", "NNN", false, false },
        { "LINK", "NNN", false, false },
        { "", "NNN", false, false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (describe (SevenSegmentDisplay::parseText (c.text)), describe (readingOf (c))) << "text \"" << c.text << "\"";
}

TEST (SevenSegmentDisplayTest, GeometryFollowsTheWidthWithHalvesRoundedToEven)
{
    struct Case { int width; std::array<float, 3> digitX; int radius; int spread; };
    const Case cases[] {
        { 116, { 6.0f, 43.0f, 78.0f }, 5, 1 },
        { 58, { 3.0f, 21.5f, 39.0f }, 2, 0 },  // 2.5 and 0.5 round to even: no stroke in the glow mask
        { 10, { 6.0f * 10 / 116, 43.0f * 10 / 116, 78.0f * 10 / 116 }, 1, 0 }, // the radius is at least 1
    };

    for (const auto& c : cases)
    {
        const auto geometry = SevenSegmentDisplay::geometryFor (c.width);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ (geometry.digitX[i], c.digitX[i]) << "width " << c.width << ", digit " << i;
        EXPECT_EQ (geometry.glowRadius, c.radius) << "width " << c.width;
        EXPECT_EQ (geometry.glowSpread, c.spread) << "width " << c.width;
    }
}

bool isLitRed (juce::Colour c) { return c.getAlpha() >= 0xF0 && c.getRed() >= 0xF0 && c.getGreen() == 0 && c.getBlue() == 0; }
bool isUnlitBlack (juce::Colour c) { return c.getAlpha() >= 0xF0 && c.getRed() == 0 && c.getGreen() == 0 && c.getBlue() == 0; }
// An unlit segment under the glow of a lit neighbour: opaque and dark.
bool isUnlitPoint (juce::Colour c) { return c.getAlpha() >= 0xF0 && c.getRed() <= 0x80 && c.getGreen() == 0 && c.getBlue() == 0; }
bool isGlow (juce::Colour c) { return c.getAlpha() >= 0x08 && c.getAlpha() <= 0x80 && c.getRed() >= 0xE0 && c.getGreen() == 0 && c.getBlue() == 0; }

struct ProbeCase
{
    int width;
    std::vector<juce::Point<int>> inSegments;  // inside segments or points of the first two digits
    std::vector<juce::Point<int>> inGlow;      // just outside a segment, away from the others
};

TEST (SevenSegmentDisplayTest, LitSegmentsAreRedWithAGlowAndUnlitOnesBlack)
{
    const ProbeCase cases[] {
        // middle segment and point of the first digit, point of the second; above segment a and
        // left of segment f of the first digit
        { 116, { { 24, 36 }, { 44, 60 }, { 81, 60 } }, { { 25, 9 }, { 10, 25 } } },
        { 58, { { 12, 18 }, { 22, 30 }, { 40, 30 } }, { { 12, 4 }, { 5, 12 } } },
    };

    for (const auto& c : cases)
    {
        SevenSegmentDisplay display;
        display.setSize (c.width, c.width * 72 / 116);

        display.setTextToDisplay ("8.8.8");
        const auto lit = testing_support::renderComponent (display);
        display.setTextToDisplay ("");
        const auto unlit = testing_support::renderComponent (display);

        for (auto p : c.inSegments)
        {
            EXPECT_TRUE (isLitRed (pixelAt (lit, p.x, p.y))) << "width " << c.width << " at " << p.toString() << ": " << describe (pixelAt (lit, p.x, p.y));
            EXPECT_TRUE (isUnlitBlack (pixelAt (unlit, p.x, p.y))) << "width " << c.width << " at " << p.toString() << ": " << describe (pixelAt (unlit, p.x, p.y));
        }

        for (auto p : c.inGlow)
        {
            EXPECT_TRUE (isGlow (pixelAt (lit, p.x, p.y))) << "width " << c.width << " at " << p.toString() << ": " << describe (pixelAt (lit, p.x, p.y));
            EXPECT_EQ (pixelAt (unlit, p.x, p.y).getAlpha(), 0) << "width " << c.width << " at " << p.toString();
        }
    }
}

TEST (SevenSegmentDisplayTest, OnlyTheFirstTwoDigitsHaveADecimalPoint)
{
    SevenSegmentDisplay display;
    display.setSize (116, 72);

    // Where the third digit's point would be (its origin 78 plus the point's centre 38, 60).
    const juce::Point<int> thirdPoint { 114, 60 };

    const auto drawnWithPoint = testing_support::renderDrawing (116, 72, [&display] (juce::Graphics& g) { display.drawDigit (g, 2, '8', true); });
    EXPECT_EQ (pixelAt (drawnWithPoint, thirdPoint.x, thirdPoint.y).getAlpha(), 0);
    EXPECT_TRUE (isLitRed (pixelAt (drawnWithPoint, 100, 36))) << "the digit itself is drawn (segment g)";

    // -25.5: the point moved with the last 5 onto the third digit and is not shown; the other
    // points are drawn unlit.
    display.setTextToDisplay ("-25.5");
    const auto shown = testing_support::renderComponent (display);
    for (const auto x : { 44, 81 })
        EXPECT_TRUE (isUnlitPoint (pixelAt (shown, x, 60))) << "point at x " << x << ": " << describe (pixelAt (shown, x, 60));
    EXPECT_EQ (pixelAt (shown, thirdPoint.x, thirdPoint.y).getAlpha(), 0);
}

TEST (SevenSegmentDisplayTest, GlyphsOutsideTheSetDrawNothingAtAll)
{
    SevenSegmentDisplay display;
    display.setSize (116, 72);

    for (const char glyph : { '.', '/', 'A', '\0' })
    {
        const auto image = testing_support::renderDrawing (116, 72, [&] (juce::Graphics& g) { display.drawDigit (g, 0, glyph, true); });
        EXPECT_EQ (testing_support::pixelAt (image, 24, 36).getAlpha(), 0) << "glyph " << (int) glyph;
        EXPECT_EQ (testing_support::pixelAt (image, 44, 60).getAlpha(), 0) << "glyph " << (int) glyph;
    }
}

TEST (SevenSegmentDisplayTest, SizesTooSmallForTheGlowMakeNoEmptyImagesAndPaintSafely)
{
    // A zero-sized image asserts in the framework; the test's logger fails the test on it.
    const juce::Rectangle<int> sizes[] { { 0, 0 }, { 116, 0 }, { 0, 72 }, { 1, 1 }, { 2, 2 }, { 3, 1 }, { 10, 6 }, { 116, 72 }, { 0, 0 } };

    SevenSegmentDisplay display;
    testing_support::renderComponent (display); // painted before any layout: images not made yet

    for (const auto& size : sizes)
    {
        display.setSize (size.getWidth(), size.getHeight());
        display.setTextToDisplay ("-8.8.8");
        testing_support::renderComponent (display);
    }
}

TEST (SevenSegmentDisplayTest, BlanksWhenTheOwnersTimerFiresUnlessANewTextCameFirst)
{
    SevenSegmentDisplay display;
    display.setSize (116, 72);
    const auto blank = SevenSegmentDisplay::Reading {};

    display.setTextToDisplay ("5.0");
    display.startTimer (1000);
    display.setTextToDisplay ("7");
    EXPECT_FALSE (display.isTimerRunning()) << "a new text stops the blanking";
    EXPECT_EQ (describe (display.getReading()), "NN7");

    display.startTimer (1000);
    display.timerCallback();
    EXPECT_FALSE (display.isTimerRunning()) << "the display blanks once";
    EXPECT_EQ (describe (display.getReading()), describe (blank));
}

/** Counts the repaints a component asks for (each reaches its cached image first). */
struct RepaintCounter : public juce::CachedComponentImage
{
    int* count;

    explicit RepaintCounter (int& counter) : count (&counter) {}
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override { ++*count; return true; }
    bool invalidate (const juce::Rectangle<int>&) override { ++*count; return true; }
    void releaseResources() override {}
};

// The blanking timer also fires for a display that shows nothing (the editor starts it when the
// pointer leaves a knob, and when it opens in LINK): a blank display must not paint again.
TEST (SevenSegmentDisplayTest, BlankingRepaintsOnlyADisplayThatShowsSomething)
{
    struct Case
    {
        const char* text;
        bool repaints;
    };

    for (const auto& c : { Case { "", false }, Case { "5.0", true } })
    {
        SCOPED_TRACE (c.text);
        SevenSegmentDisplay display;
        display.setSize (116, 72);
        display.setVisible (true);
        display.setTextToDisplay (c.text);

        int repaints = 0;
        display.setCachedComponentImage (new RepaintCounter (repaints));
        repaints = 0; // installing it repaints
        display.startTimer (1000);
        display.timerCallback();

        EXPECT_EQ (repaints > 0, c.repaints);
        EXPECT_EQ (describe (display.getReading()), describe (SevenSegmentDisplay::Reading {}));
        display.setCachedComponentImage (nullptr);
    }
}

} // namespace
