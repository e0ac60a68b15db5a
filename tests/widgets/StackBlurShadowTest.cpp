#include "support/Rendering.h"
#include "widgets/StackBlurShadow.h"

#include <gtest/gtest.h>

namespace
{

juce::Image singleChannel (int width, int height, juce::uint8 level)
{
    juce::Image image (juce::Image::SingleChannel, width, height, true);
    image.clear (image.getBounds(), juce::Colour::fromRGBA (255, 255, 255, level));
    return image;
}

int levelAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getAlpha();
}

TEST (StackBlurShadowTest, ABrightPixelSpreadsAsAPyramidOfTheRadius)
{
    auto image = singleChannel (11, 11, 0);
    image.setPixelAt (5, 5, juce::Colours::white);

    StackBlurShadow::blurSingleChannel (image, 2);

    // Weights 1 2 3 2 1 out of 9 along each axis, each pass rounded: 255 -> 85, 57, 28 -> 28, 19, 9.
    const int centreRow[] { 0, 0, 9, 19, 28, 19, 9, 0, 0 };
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_EQ (levelAt (image, 1 + i, 5), centreRow[i]) << "x " << 1 + i;
        EXPECT_EQ (levelAt (image, 5, 1 + i), centreRow[i]) << "y " << 1 + i;
    }
    EXPECT_EQ (levelAt (image, 7, 7), 3); // 28 * 1/9 after the second pass
    EXPECT_EQ (levelAt (image, 8, 7), 0);
}

TEST (StackBlurShadowTest, AnEvenImageStaysEvenUpToItsEdges)
{
    auto image = singleChannel (7, 5, 200);
    StackBlurShadow::blurSingleChannel (image, 4);

    for (const auto& p : { juce::Point<int> (0, 0), juce::Point<int> (6, 4), juce::Point<int> (3, 2), juce::Point<int> (6, 0) })
        EXPECT_EQ (levelAt (image, p.x, p.y), 200) << p.toString();
}

TEST (StackBlurShadowTest, PaintsTheColourAroundThePathWithinItsReach)
{
    juce::Path square;
    square.addRectangle (20.0f, 20.0f, 10.0f, 10.0f);
    const StackBlurShadow glow (juce::Colours::red, 3, { 0, 0 }, 1);

    const auto image = testing_support::renderDrawing (50, 50, [&] (juce::Graphics& g) { glow.drawForPath (g, square); });

    EXPECT_EQ (testing_support::pixelAt (image, 25, 25), juce::Colours::red) << "inside the mask, far from its edges";
    const auto nearEdge = testing_support::pixelAt (image, 31, 25);
    EXPECT_GT (nearEdge.getAlpha(), 0x40);
    EXPECT_LT (nearEdge.getAlpha(), 0xFF);
    EXPECT_EQ (testing_support::pixelAt (image, 35, 25).getAlpha(), 0) << "beyond spread + radius";
}

TEST (StackBlurShadowTest, APathOutsideTheClipDrawsNothing)
{
    juce::Path farAway;
    farAway.addRectangle (100.0f, 100.0f, 1.0f, 1.0f);
    const StackBlurShadow glow (juce::Colours::red, 1, { 0, 0 }, 0);

    // Its area is empty: the framework would assert on a mask of no pixels.
    const auto image = testing_support::renderDrawing (4, 4, [&] (juce::Graphics& g) { glow.drawForPath (g, farAway); });

    EXPECT_EQ (testing_support::pixelAt (image, 3, 3).getAlpha(), 0);
}

} // namespace
