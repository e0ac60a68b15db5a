#include "support/Lettering.h"
#include "support/Rendering.h"
#include "widgets/HvDefaultLookAndFeel.h"
#include "widgets/PopupMenu_LAF.h"

#include <gtest/gtest.h>

namespace
{

using juce::Colour;
using testing_support::coloursNear;
using testing_support::describe;
using testing_support::pixelAt;

/** The popup look-and-feel with its menu font replaced, to compare lettering with the same item
    geometry. */
class PopupWithFont : public juce::PopupMenu_LAF
{
public:
    explicit PopupWithFont (juce::Font fontToUse) : font (std::move (fontToUse)) {}
    juce::Font getPopupMenuFont() override { return font; }

private:
    juce::Font font;
};

struct Item
{
    bool separator = false;
    bool active = true;
    bool highlighted = false;
    juce::String text;
};

juce::Image renderItem (juce::PopupMenu_LAF& lookAndFeel, const Item& item, int width = 200, int height = 24)
{
    return testing_support::renderDrawing (width, height, [&] (juce::Graphics& g)
    {
        lookAndFeel.drawPopupMenuItem (g, { 0, 0, width, height }, item.separator, item.active, item.highlighted,
                                       false, false, item.text, {}, nullptr, nullptr);
    });
}

/** The most opaque pixel, which lies inside a glyph's stem. */
Colour strongestPixel (const juce::Image& image)
{
    Colour strongest;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() > strongest.getAlpha())
                strongest = image.getPixelAt (x, y);
    return strongest;
}

class PopupMenu_LAFTest : public ::testing::Test
{
protected:
    juce::SharedResourcePointer<juce::HvDefaultLookAndFeel> lettering;
    juce::PopupMenu_LAF lookAndFeel;
};

TEST_F (PopupMenu_LAFTest, BackgroundIsAGreyGradientWithADarkOutline)
{
    const auto image = testing_support::renderDrawing (100, 200, [this] (juce::Graphics& g) { lookAndFeel.drawPopupMenuBackground (g, 100, 200); });

    EXPECT_TRUE (coloursNear (pixelAt (image, 50, 1), Colour (0xFF373737), 2)) << describe (pixelAt (image, 50, 1));
    EXPECT_TRUE (coloursNear (pixelAt (image, 50, 100), Colour (0xFF373737).interpolatedWith (Colour (0xFF282828), 0.5f), 2))
        << describe (pixelAt (image, 50, 100));
    EXPECT_TRUE (coloursNear (pixelAt (image, 50, 198), Colour (0xFF282828), 2)) << describe (pixelAt (image, 50, 198));

    // The outline: 0x99000000 over the gradient.
    const auto outlineTop = Colour (0xFF373737).overlaidWith (Colour (0x99000000));
    for (const auto& p : { juce::Point<int> (50, 0), juce::Point<int> (0, 1), juce::Point<int> (99, 1) })
        EXPECT_TRUE (coloursNear (pixelAt (image, p.x, p.y), outlineTop, 3)) << p.toString() << ": " << describe (pixelAt (image, p.x, p.y));
}

TEST_F (PopupMenu_LAFTest, ItemsHaveFixedTextColoursAndOnlyAnActiveHighlightHasAGradient)
{
    struct Case { bool active; bool highlighted; bool gradient; Colour text; const char* label; };
    const Case cases[] {
        { true, false, false, Colour (0xFFB2B5BE), "Normal item mm" },
        { false, false, false, Colour (0x80B2B5BE), "Inactive item mm" },
        { false, true, false, Colour (0x80B2B5BE), "Inactive highlighted mm" },
        { true, true, true, Colour (0xFFB2B5BE), "Active highlighted mm" },
    };

    for (const auto& c : cases)
    {
        const auto image = renderItem (lookAndFeel, { false, c.active, c.highlighted, c.label }, 200, 24);

        if (c.gradient)
        {
            // Left of the text, in the empty tick column. The fill starts below the item's
            // 1-pixel margin; the gradient runs over the fill's height (22) from the item's top:
            // 0xFF414141, 0xFF282828 half-way, 0xFF1E1E1E.
            juce::ColourGradient gradient (Colour (0xFF414141), 0.0f, 0.0f, Colour (0xFF1E1E1E), 0.0f, 22.0f, false);
            gradient.addColour (0.5, Colour (0xFF282828));

            EXPECT_EQ (pixelAt (image, 3, 0).getAlpha(), 0);
            for (const auto row : { 1, 11, 22 })
            {
                const auto expected = gradient.getColourAtPosition (((double) row + 0.5) / 22.0);
                EXPECT_TRUE (coloursNear (pixelAt (image, 3, row), expected, 2))
                    << "row " << row << ": " << describe (pixelAt (image, 3, row)) << ", expected " << describe (expected);
            }
            EXPECT_EQ (pixelAt (image, 3, 23).getAlpha(), 0);
        }
        else
        {
            EXPECT_EQ (pixelAt (image, 3, 11).getAlpha(), 0) << c.label;

            const auto text = strongestPixel (image);
            EXPECT_TRUE (coloursNear (text, c.text, 4)) << c.label << ": " << describe (text);
        }
    }
}

TEST_F (PopupMenu_LAFTest, SeparatorsDrawOneRowEvenInAOnePixelItemAndNothingInAnEmptyOne)
{
    struct Case { int height; int row; };
    const Case cases[] { { 10, 4 }, { 11, 5 }, { 1, 0 } }; // rows removed: round (h / 2 - 0.5), halves to even

    for (const auto& c : cases)
    {
        const auto image = renderItem (lookAndFeel, { true, true, false, {} }, 60, c.height);
        // Premultiplied at alpha 0x4C, the colour comes back within a few steps.
        EXPECT_TRUE (coloursNear (pixelAt (image, 30, c.row), Colour (0x4CB2B5BE), 4)) << "height " << c.height << ": " << describe (pixelAt (image, 30, c.row));
        EXPECT_EQ (pixelAt (image, 4, c.row).getAlpha(), 0) << "5 pixels are left free on the left";
        EXPECT_EQ (testing_support::countPaintedPixels (image), 50) << "height " << c.height;
    }

    const auto empty = testing_support::renderDrawing (60, 4, [this] (juce::Graphics& g)
    {
        lookAndFeel.drawPopupMenuItem (g, { 0, 2, 60, 0 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
    });
    EXPECT_EQ (testing_support::countPaintedPixels (empty), 0);
}

// Each text is drawn nowhere else in the process, so no laid-out text from an earlier drawing in
// another face can be reused.
TEST_F (PopupMenu_LAFTest, ItemTextIsDrawnInEmbeddedLato)
{
    const Item item { false, true, false, "Vexing quirk item 0042" };
    const auto asDrawn = renderItem (lookAndFeel, item);

    PopupWithFont explicitLato (testing_support::fontOn (testing_support::embeddedLatoFace (juce::Font::plain), 17.0f));
    EXPECT_EQ (testing_support::countDifferentPixels (asDrawn, renderItem (explicitLato, item)), 0);

    const auto systemFace = testing_support::systemFaceFor (juce::Font (17.0f));
    if (systemFace->getName() != "Lato")
    {
        PopupWithFont explicitSystem (testing_support::fontOn (systemFace, 17.0f));
        EXPECT_GT (testing_support::countDifferentPixels (asDrawn, renderItem (explicitSystem, item)), 100);
    }
}

TEST_F (PopupMenu_LAFTest, SectionHeadersUseLatoAtHeight15WhateverTheMenuFont)
{
    PopupWithFont largeMenuFont (juce::Font (30.0f, juce::Font::bold));
    const juce::Rectangle<int> area { 0, 0, 200, 30 };
    const juce::String name ("Zephyr header section");

    const auto header = testing_support::renderDrawing (200, 30, [&] (juce::Graphics& g) { largeMenuFont.drawPopupMenuSectionHeader (g, area, name); });
    const auto expected = testing_support::renderDrawing (200, 30, [&] (juce::Graphics& g)
    {
        g.setFont (testing_support::fontOn (testing_support::embeddedLatoFace (juce::Font::plain), 15.0f));
        g.setColour (Colour (0xFFB2B5BE));
        g.drawFittedText (name, 12, 0, 184, 24, juce::Justification::bottomLeft, 1, 0.0f);
    });

    ASSERT_GT (testing_support::countPaintedPixels (header), 50);
    EXPECT_EQ (testing_support::countDifferentPixels (header, expected), 0);
}

} // namespace
