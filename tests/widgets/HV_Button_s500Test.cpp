#include "support/MessagePump.h"
#include "support/Rendering.h"
#include "widgets/HV_Button_s500.h"

#include <gtest/gtest.h>

using testing_support::describe;
using testing_support::findInvalidPremultipliedPixel;
using testing_support::pixelAt;
using testing_support::renderDrawing;

namespace
{

/** Opens up what the button keeps for its drawing. */
struct ProbedButton : public HV_Button_s500
{
    using HV_Button_s500::capDiameter;
    using HV_Button_s500::capImage;
    using HV_Button_s500::haloImage;
    using HV_Button_s500::margin;
    using HV_Button_s500::paintButton;
    using HV_Button_s500::pressOffset;
    using HV_Button_s500::shadowImage;

    juce::Image render (bool down)
    {
        const auto edge = juce::jmax (getWidth(), getHeight());
        return renderDrawing (edge, edge, [&] (juce::Graphics& g) { paintButton (g, false, down); });
    }
};

struct Geometry
{
    int width, height;
    float margin, capDiameter, pressOffset;
    int imageEdge;
};

std::ostream& operator<< (std::ostream& out, const Geometry& g)
{
    return out << g.width << "x" << g.height;
}

class ButtonGeometry : public ::testing::TestWithParam<Geometry>
{
};

float lightness (juce::Colour c)
{
    return c.getFloatAlpha() * (c.getFloatRed() + c.getFloatGreen() + c.getFloatBlue()) / 3.0f;
}

int alphaSum (const juce::Image& image, juce::Rectangle<int> area)
{
    int sum = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            sum += pixelAt (image, x, y).getAlpha();
    return sum;
}

} // namespace

// The images follow the size on every layout, the size being the larger of width and height.
TEST_P (ButtonGeometry, ImagesAreRenderedAgainForEveryNewSize)
{
    const auto expected = GetParam();
    ProbedButton button;
    button.setSize (30, 30);
    button.setSize (expected.width, expected.height);

    EXPECT_FLOAT_EQ (button.margin, expected.margin);
    EXPECT_FLOAT_EQ (button.capDiameter, expected.capDiameter);
    EXPECT_FLOAT_EQ (button.pressOffset, expected.pressOffset);
    EXPECT_EQ (button.capImage.getWidth(), (int) expected.capDiameter);
    EXPECT_EQ (button.capImage.getHeight(), (int) expected.capDiameter);
    EXPECT_EQ (button.shadowImage.getWidth(), expected.imageEdge);
    EXPECT_EQ (button.haloImage.getWidth(), expected.imageEdge);
}

INSTANTIATE_TEST_SUITE_P (Sizes, ButtonGeometry,
                          ::testing::Values (Geometry { 75, 75, 10.0f, 55.0f, 2.0f, 75 },      // the design size
                                             Geometry { 150, 100, 20.0f, 110.0f, 4.0f, 150 },  // twice
                                             Geometry { 20, 20, 3.0f, 14.0f, 40.0f / 75.0f, 20 },
                                             Geometry { 4, 3, 1.0f, 2.0f, 8.0f / 75.0f, 4 })); // margin at least 1

// At the design size the cap spans pixels 10..64 on both axes; pressed it shrinks by 2 % about
// (37, 37) and then moves by (10, 10), to 10.74..64.64.
TEST (HV_Button_s500, UpAndPressedAtTheDesignSize)
{
    ProbedButton button;
    button.setSize (75, 75);

    const auto up = button.render (false);
    const auto down = button.render (true);

    // The cap's face in the middle: opaque light grey, up and pressed.
    for (const auto& image : { up, down })
    {
        const auto face = pixelAt (image, 37, 30);
        EXPECT_EQ (face.getAlpha(), 255) << describe (face);
        EXPECT_GT (lightness (face), 0.55f) << describe (face);
        EXPECT_FALSE (findInvalidPremultipliedPixel (image).has_value());
    }

    // Just outside the cap: the dark halo.
    for (const auto& image : { up, down })
    {
        EXPECT_GT (pixelAt (image, 37, 9).getAlpha(), 0x30) << describe (pixelAt (image, 37, 9));
        EXPECT_LT (pixelAt (image, 37, 9).getRed(), 0x10);
    }

    // The cap's first row and column are the light chamfer ring up, and mostly halo pressed.
    for (auto [x, y] : { std::pair { 37, 10 }, { 10, 37 } })
    {
        EXPECT_GT (lightness (pixelAt (up, x, y)), 0.6f) << x << ", " << y << ": " << describe (pixelAt (up, x, y));
        EXPECT_LT (lightness (pixelAt (down, x, y)), lightness (pixelAt (up, x, y)) - 0.25f)
            << x << ", " << y << ": " << describe (pixelAt (down, x, y));
    }

    // Pressed, the shadow moves up by 2 and hides under the cap: less of it shows below.
    const juce::Rectangle<int> belowCap { 20, 65, 40, 4 };
    EXPECT_GT (alphaSum (up, belowCap), alphaSum (down, belowCap) + 200);
}

// The shadow: a disc of diameter 57 centred 2 px right of and below the button's centre, at
// (39.5, 39.5), black at its centre and fading to nothing at its edge.
TEST (HV_Button_s500, ShadowSitsBelowAndRightOfTheCap)
{
    ProbedButton button;
    button.setSize (75, 75);
    const auto& shadow = button.shadowImage;

    EXPECT_GT (pixelAt (shadow, 39, 39).getAlpha(), 0xf0);

    // 14 px from the centre on every side: alpha 1 - 14 / 28.5 of full.
    for (auto [x, y] : { std::pair { 53, 39 }, { 25, 39 }, { 39, 53 }, { 39, 25 } })
        EXPECT_NEAR (pixelAt (shadow, x, y).getAlpha(), 255.0f * (1.0f - 14.0f / 28.5f), 6.0f) << x << ", " << y;

    EXPECT_EQ (pixelAt (shadow, 39, 69).getAlpha(), 0);
    EXPECT_EQ (pixelAt (shadow, 69, 39).getAlpha(), 0);
}

TEST (HV_Button_s500, ClickingTogglesItsState)
{
    HV_Button_s500 button;
    EXPECT_EQ (button.getName(), "HV Button EQ864");

    button.triggerClick();
    ASSERT_TRUE (testing_support::pumpUntil ([&] { return button.getToggleState(); }));
    button.triggerClick();
    EXPECT_TRUE (testing_support::pumpUntil ([&] { return ! button.getToggleState(); }));
}

// Painting composes the cached images only: it never draws from the random sources, which only
// a new layout does.
TEST (HV_Button_s500, PaintingNeverRendersTexturesAgain)
{
    ProbedButton button;
    button.setSize (75, 75);

    {
        testing_support::DrawingRandomnessProbe probe;
        for (int i = 0; i < 3; ++i)
        {
            button.render (false);
            button.render (true);
            testing_support::renderComponent (button);
        }
        EXPECT_TRUE (probe.untouched());
    }

    testing_support::DrawingRandomnessProbe probe;
    button.setSize (76, 76);
    EXPECT_FALSE (probe.untouched());
}

// A button of 2 px or less has no room for a cap: it keeps no images and draws nothing, up or
// pressed, without asserting.
TEST (HV_Button_s500, TooSmallForACapDrawsNothing)
{
    for (const auto edge : { 2, 1 })
    {
        ProbedButton button;
        button.setSize (75, 75);
        button.setSize (edge, edge);

        EXPECT_FALSE (button.capImage.isValid());
        EXPECT_FALSE (button.shadowImage.isValid());
        EXPECT_FALSE (button.haloImage.isValid());

        for (const auto down : { false, true })
        {
            const auto image = renderDrawing (4, 4, [&] (juce::Graphics& g) { button.paintButton (g, false, down); });
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x)
                    EXPECT_EQ (image.getPixelAt (x, y).getAlpha(), 0);
        }
    }

    // Rendered at a given edge without a layout, as the switches do for their default size.
    ProbedButton unplaced;
    unplaced.size = 2.0f;
    unplaced.halfSize = 1.0f;
    unplaced.prepareButtonImage();
    EXPECT_FALSE (unplaced.capImage.isValid());

    // Never laid out: nothing to draw either.
    ProbedButton fresh;
    const auto image = renderDrawing (4, 4, [&] (juce::Graphics& g) { fresh.paintButton (g, false, true); });
    EXPECT_EQ (image.getPixelAt (1, 1).getAlpha(), 0);
}
