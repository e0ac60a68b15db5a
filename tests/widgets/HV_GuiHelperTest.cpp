#include "support/Rendering.h"
#include "widgets/EQ700K_Colours.h"
#include "widgets/HV_GuiHelper.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::coloursNear;
using testing_support::describe;
using testing_support::findInvalidPremultipliedPixel;
using testing_support::pixelAt;
using testing_support::renderDrawing;

namespace
{

constexpr int layerSize = 40;
constexpr float halfWidth = 0.12f;
constexpr float pi = juce::MathConstants<float>::pi;

/** The first band layer of a cap: dark at 0 and 1 (alpha 0x59) and at 0.5 (0x5B), fading to
    transparent over the half-width. */
juce::ColourGradient bandGradient()
{
    juce::ColourGradient gradient (juce::Colour (0x59000000), (float) layerSize, 0.0f,
                                   juce::Colour (0x59000000), 0.0f, 0.0f, false);
    gradient.addColour (halfWidth, juce::Colours::transparentBlack);
    gradient.addColour (0.5 - halfWidth, juce::Colours::transparentBlack);
    gradient.addColour (0.5 + halfWidth, juce::Colours::transparentBlack);
    gradient.addColour (1.0 - halfWidth, juce::Colours::transparentBlack);
    gradient.addColour (0.5, juce::Colour (0x5b000000));
    return gradient;
}

juce::Image renderLayer (float shiftX, float shiftY, float chamfer, juce::Colour background = {})
{
    return renderDrawing (layerSize, layerSize, [&] (juce::Graphics& g)
    {
        const auto size = (float) layerSize;
        HV_GuiHelper::fillConicalGradient (&g, bandGradient(), size, size, shiftX, shiftY, chamfer);
    }, background);
}

/** The fraction of a turn that the lookup table is indexed by: 0 pointing left, 0.25 up,
    0.5 right, 0.75 down. */
float turnFraction (int x, int y)
{
    const auto centre = (float) layerSize * 0.5f;
    return (std::atan2 ((float) y - centre, (float) x - centre) + pi) / (2.0f * pi);
}

/** Distance, as a fraction of a turn, to the nearest band centre (0, 0.5 or 1). */
float distanceToBand (float fraction)
{
    return std::abs (fraction - std::round (fraction * 2.0f) / 2.0f);
}

bool fullyInsideDisc (int x, int y)
{
    // Every corner of the pixel lies inside the circle, so the clip's smoothing never touches it.
    const auto radius = (float) layerSize * 0.5f;
    for (auto [cx, cy] : { std::pair { x, y }, { x + 1, y }, { x, y + 1 }, { x + 1, y + 1 } })
        if (std::hypot ((float) cx - radius, (float) cy - radius) >= radius)
            return false;
    return true;
}

int wrap (int value)
{
    return ((value % layerSize) + layerSize) % layerSize;
}

struct Shift
{
    float x, y;
};

std::ostream& operator<< (std::ostream& out, const Shift& shift)
{
    return out << "shift " << shift.x << " " << shift.y;
}

class ConicalLayerShift : public ::testing::TestWithParam<Shift>
{
};

} // namespace

// The layer's pixel at (x, y) comes from the source pixel (x, y) - shift, wrapped round; that
// source pixel's angle decides its alpha. Shifts of a whole size or more wrap as often as needed.
TEST_P (ConicalLayerShift, BandsFollowTheAngleOfTheShiftedSourcePixel)
{
    const auto shift = GetParam();
    const auto image = renderLayer (shift.x, shift.y, 0.0f);
    const auto step = 1.0f / 119.0f; // one entry of the 120-entry table

    int darkProbes = 0, clearProbes = 0;

    for (int y = 0; y < layerSize; ++y)
    {
        for (int x = 0; x < layerSize; ++x)
        {
            if (! fullyInsideDisc (x, y))
                continue;

            const auto d = distanceToBand (turnFraction (wrap (x - (int) shift.x), wrap (y - (int) shift.y)));
            const auto pixel = pixelAt (image, x, y);
            SCOPED_TRACE (testing::Message() << "pixel " << x << ", " << y << ": " << describe (pixel));

            if (d > halfWidth + step)
            {
                EXPECT_EQ (pixel.getAlpha(), 0);
                ++clearProbes;
            }
            else if (d < halfWidth - step)
            {
                const auto expectedAlpha = 0x5a * (1.0f - d / halfWidth);
                EXPECT_NEAR (pixel.getAlpha(), expectedAlpha, 8.0f);
                ++darkProbes;

                // Noise adds 0..9 to the black of the bands (read back through premultiplied
                // storage, hence the slack).
                if (pixel.getAlpha() > 0x50)
                {
                    EXPECT_LE (pixel.getRed(), 11);
                    EXPECT_LE (pixel.getGreen(), 11);
                    EXPECT_LE (pixel.getBlue(), 11);
                }
            }
        }
    }

    EXPECT_GT (darkProbes, 100);
    EXPECT_GT (clearProbes, 400);

    const auto invalid = findInvalidPremultipliedPixel (image);
    EXPECT_FALSE (invalid.has_value()) << "invalid premultiplied pixel at " << invalid->toString();
}

INSTANTIATE_TEST_SUITE_P (Shifts, ConicalLayerShift,
                          ::testing::Values (Shift { 0, 0 }, Shift { 10, 0 }, Shift { 0, -7 },
                                             Shift { 40, 0 }, Shift { 0, -40 }, Shift { 130, -87 },
                                             Shift { -200, 400 }));

TEST (ConicalLayer, LeavesWhatLiesOutsideItsDiscAndRestoresTheTarget)
{
    const juce::Colour background (0xff336699), afterwards (0xff00ff00);

    const auto image = renderDrawing (layerSize, layerSize, [&] (juce::Graphics& g)
    {
        const auto size = (float) layerSize;
        HV_GuiHelper::fillConicalGradient (&g, bandGradient(), size, size, 0.0f, 0.0f, 0.0f);

        // The layer's clip must be gone: this covers the whole image again, corners included.
        g.setColour (afterwards);
        g.fillRect (0, 0, 2, 2);
    }, background);

    EXPECT_EQ (pixelAt (image, 0, 0), afterwards);
    EXPECT_EQ (pixelAt (image, layerSize - 1, 0), background);
    EXPECT_EQ (pixelAt (image, 0, layerSize - 1), background);
    EXPECT_EQ (pixelAt (image, layerSize - 1, layerSize - 1), background);
}

TEST (ConicalLayer, AGreaterTargetCentresTheLayer)
{
    // Size 20 in a target of 40: the disc sits at roundf(10) and the left band centre moves with it.
    const auto image = renderDrawing (40, 40, [] (juce::Graphics& g)
    {
        HV_GuiHelper::fillConicalGradient (&g, bandGradient(), 20.0f, 40.0f, 0.0f, 0.0f, 0.0f);
    });

    EXPECT_EQ (pixelAt (image, 5, 20).getAlpha(), 0);     // outside the disc
    EXPECT_NEAR (pixelAt (image, 11, 20).getAlpha(), 0x59, 8); // its left band
    EXPECT_EQ (pixelAt (image, 20, 12).getAlpha(), 0);    // its top, a quarter turn
}

namespace
{

struct ChamferCase
{
    float chamfer;
    bool drawsRing;
};

std::ostream& operator<< (std::ostream& out, const ChamferCase& c)
{
    return out << "chamfer " << c.chamfer << (c.drawsRing ? " ring" : " whole disc");
}

class ConicalLayerChamfer : public ::testing::TestWithParam<ChamferCase>
{
};

} // namespace

// A chamfer above 0 and below half the size keeps the layer to a ring of that width; otherwise
// the whole disc is drawn.
TEST_P (ConicalLayerChamfer, RingOrWholeDisc)
{
    const auto [chamfer, drawsRing] = GetParam();
    const auto image = renderLayer (0.0f, 0.0f, chamfer);

    const auto onRing = pixelAt (image, 1, 20);        // the left band, within 3 px of the edge
    const auto inside = pixelAt (image, 8, 20);        // the left band, well inside
    const auto insideRight = pixelAt (image, 31, 20);  // the right band, well inside

    EXPECT_NEAR (onRing.getAlpha(), 0x59, 8);

    if (drawsRing)
    {
        EXPECT_EQ (inside.getAlpha(), 0);
        EXPECT_EQ (insideRight.getAlpha(), 0);
    }
    else
    {
        EXPECT_NEAR (inside.getAlpha(), 0x59, 8);
        EXPECT_NEAR (insideRight.getAlpha(), 0x5b, 8);
    }

    EXPECT_FALSE (findInvalidPremultipliedPixel (image).has_value());
}

INSTANTIATE_TEST_SUITE_P (Chamfers, ConicalLayerChamfer,
                          ::testing::Values (ChamferCase { 3.0f, true }, ChamferCase { 0.0f, false },
                                             ChamferCase { -2.0f, false }, ChamferCase { 20.0f, false },
                                             ChamferCase { 25.0f, false }));

// For any draw of widths and rotations, the bands lie around the horizontal axis: dark left and
// right of the centre, transparent above and below it.
TEST (CapBands, DarkAcrossTheHorizontalAxisAndClearAtTheQuarterTurnsForEveryDraw)
{
    for (int draw = 0; draw < 12; ++draw)
    {
        SCOPED_TRACE (draw);
        juce::Image bands;
        HV_GuiHelper::prepareConicalGradWithChamfer (bands, 55.0f, 3.0f);

        ASSERT_EQ (bands.getWidth(), 55);
        ASSERT_EQ (bands.getHeight(), 55);

        // On the ring (within 3 px of the edge) and on the inner disc.
        for (auto [x, y] : { std::pair { 27, 1 }, { 27, 5 }, { 27, 49 }, { 27, 53 } })
            EXPECT_EQ (pixelAt (bands, x, y).getAlpha(), 0) << x << ", " << y;
        for (auto [x, y] : { std::pair { 1, 27 }, { 53, 27 } })
            EXPECT_GT (pixelAt (bands, x, y).getAlpha(), 0x30) << x << ", " << y;
        for (auto [x, y] : { std::pair { 10, 27 }, { 44, 27 } })
            EXPECT_GT (pixelAt (bands, x, y).getAlpha(), 0x40) << x << ", " << y;

        EXPECT_FALSE (findInvalidPremultipliedPixel (bands).has_value());
    }
}

TEST (CapBands, TwoCapsBuiltOneAfterTheOtherDiffer)
{
    juce::Image first, second;
    HV_GuiHelper::prepareConicalGradWithChamfer (first, 55.0f, 3.0f);
    HV_GuiHelper::prepareConicalGradWithChamfer (second, 55.0f, 3.0f);

    int differing = 0;
    for (int y = 0; y < 55; ++y)
        for (int x = 0; x < 55; ++x)
            differing += first.getPixelAt (x, y).getAlpha() != second.getPixelAt (x, y).getAlpha() ? 1 : 0;

    EXPECT_GT (differing, 100);
}

namespace
{

juce::Image renderBrushing (int size, float inner, float outer, juce::uint8 maxAlpha, bool fillAfterwards = false)
{
    return renderDrawing (size, size, [&] (juce::Graphics& g)
    {
        HV_GuiHelper::makeRotaryBrushingEffect (g, (float) size, inner, outer, maxAlpha);
        if (fillAfterwards)
            g.fillRect (0, 0, 1, 1);
    });
}

int maxAlphaOf (const juce::Image& image)
{
    int result = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            result = juce::jmax (result, (int) image.getPixelAt (x, y).getAlpha());
    return result;
}

} // namespace

TEST (BrushingRings, FaintRingsOverTheWholeDisc)
{
    // Size 200: each of the 50 rings is 2 px wide.
    const auto image = renderBrushing (200, 0.0f, 200.0f, 5);

    // Alpha below 5 per ring; the smoothing where neighbouring rings meet may add one.
    EXPECT_LE (maxAlphaOf (image), 5);

    int visible = 0;
    for (int x = 100; x < 200; ++x)
        visible += pixelAt (image, x, 100).getAlpha() > 0 ? 1 : 0;
    EXPECT_GT (visible, 50); // one ring in five has alpha 0

    EXPECT_EQ (pixelAt (image, 2, 2).getAlpha(), 0); // outside the disc
}

TEST (BrushingRings, InvisibleRingsOrNoneStillLeaveTheColourOpaqueBlack)
{
    EXPECT_EQ (maxAlphaOf (renderBrushing (40, 0.0f, 40.0f, 0)), 0);

    for (const auto& image : { renderBrushing (40, 20.0f, 20.0f, 5, true), renderBrushing (40, 0.0f, 40.0f, 0, true) })
    {
        EXPECT_EQ (pixelAt (image, 0, 0), juce::Colour (0xff000000));
        EXPECT_EQ (maxAlphaOf (image.getClippedImage ({ 1, 1, 39, 39 })), 0);
    }
}

namespace
{

struct LitLampCase
{
    juce::uint32 colour;
    juce::uint32 expectedCentre;
};

std::ostream& operator<< (std::ostream& out, const LitLampCase& c)
{
    return out << describe (juce::Colour (c.colour));
}

class LitLampCentre : public ::testing::TestWithParam<LitLampCase>
{
};

} // namespace

// The core is the colour with green and blue raised by 171 and 129, clamped at 255.
TEST_P (LitLampCentre, ShowsTheBrightColour)
{
    const auto [colour, expectedCentre] = GetParam();
    juce::Image lamp;
    HV_GuiHelper::prepareOnDiodeImage (lamp, 30.0f, juce::Colour (colour));

    ASSERT_EQ (lamp.getWidth(), 60);
    const auto centre = pixelAt (lamp, 30, 30);
    EXPECT_TRUE (coloursNear (centre, juce::Colour (expectedCentre), 8)) << describe (centre);

    // The glow fades to nothing at the image's edge and keeps the colour's hue on the way.
    EXPECT_LE (pixelAt (lamp, 0, 30).getAlpha(), 0x10);
    const auto glow = pixelAt (lamp, 8, 30);
    EXPECT_GT (glow.getAlpha(), 0x60);
    EXPECT_TRUE (coloursNear (glow.withAlpha ((juce::uint8) 0xff), juce::Colour (colour), 6)) << describe (glow);

    EXPECT_FALSE (findInvalidPremultipliedPixel (lamp).has_value());
}

INSTANTIATE_TEST_SUITE_P (KitColours, LitLampCentre,
                          ::testing::Values (LitLampCase { 0xffc8c8c8, 0xffc8ffff },
                                             LitLampCase { EQ700K_Colours::redColour.getARGB(), 0xffe0c096 }));

namespace
{

struct UnlitLampCase
{
    juce::uint32 colour;
    juce::uint32 rim;
};

std::ostream& operator<< (std::ostream& out, const UnlitLampCase& c)
{
    return out << describe (juce::Colour (c.colour));
}

class UnlitLamp : public ::testing::TestWithParam<UnlitLampCase>
{
};

juce::Colour mix (juce::Colour from, juce::Colour to, float proportion)
{
    return from.interpolatedWith (to, proportion);
}

} // namespace

// A disc of the given diameter, centred in an image twice as wide: the colour at its centre,
// shading towards the rim colour (40, 40 and 10 darker, never below 0) halfway at its edge.
TEST_P (UnlitLamp, ShadesFromItsColourTowardsTheRim)
{
    const auto [colour, rim] = GetParam();
    juce::Image lamp;
    HV_GuiHelper::prepareOffDiodeImageEncoder (lamp, 40, juce::Colour (colour));

    ASSERT_EQ (lamp.getWidth(), 80);
    EXPECT_TRUE (coloursNear (pixelAt (lamp, 40, 40), juce::Colour (colour), 3)) << describe (pixelAt (lamp, 40, 40));

    // The pixel centred 17.5 px right of the centre: 17.5 / 40 of the way to the rim colour.
    const auto nearEdge = pixelAt (lamp, 57, 39);
    EXPECT_TRUE (coloursNear (nearEdge, mix (juce::Colour (colour), juce::Colour (rim), 17.5f / 40.0f), 4))
        << describe (nearEdge);

    EXPECT_EQ (pixelAt (lamp, 61, 40).getAlpha(), 0); // outside the disc
    EXPECT_EQ (pixelAt (lamp, 5, 5).getAlpha(), 0);
}

INSTANTIATE_TEST_SUITE_P (Colours, UnlitLamp,
                          ::testing::Values (UnlitLampCase { 0xffb49614, 0xff8c6e0a },
                                             UnlitLampCase { 0xff102005, 0xff000000 }));

// Sizes that come out below one pixel give no image, and no drawing asserts on them.
TEST (DrawingHelpers, SizesBelowOnePixelGiveNullImagesWithoutAsserting)
{
    juce::Image image (juce::Image::ARGB, 4, 4, true);
    HV_GuiHelper::prepareOnDiodeImage (image, 0.2f, juce::Colour (0xffc8c8c8));
    EXPECT_FALSE (image.isValid());

    image = juce::Image (juce::Image::ARGB, 4, 4, true);
    HV_GuiHelper::prepareOnDiodeImage (image, 0.25f, juce::Colour (0xffc8c8c8)); // 0.5 rounds to 0
    EXPECT_FALSE (image.isValid());

    image = juce::Image (juce::Image::ARGB, 4, 4, true);
    HV_GuiHelper::prepareOffDiodeImageEncoder (image, 0, juce::Colour (0xffb49614));
    EXPECT_FALSE (image.isValid());

    image = juce::Image (juce::Image::ARGB, 4, 4, true);
    HV_GuiHelper::prepareConicalGradWithChamfer (image, 0.4f, 0.0f);
    EXPECT_FALSE (image.isValid());

    // A layer below 1.5 px still renders its 2 x 2 working image.
    const auto tiny = renderDrawing (4, 4, [] (juce::Graphics& g)
    {
        HV_GuiHelper::fillConicalGradient (&g, bandGradient(), 0.4f, 4.0f, 0.0f, 0.0f, 0.0f);
    });
    EXPECT_FALSE (findInvalidPremultipliedPixel (tiny).has_value());
}
