#include <gtest/gtest.h>

#include "PanelArtwork.h"
#include "support/Rendering.h"

#include <cmath>

// The embedded faceplate: its format, and that it keeps dark behind the controls' light
// lettering, light behind their black lettering, and the display's glass very dark but not
// black. Points are in view coordinates of the 325 x 570 channel strip; the image is twice that.

namespace
{

constexpr float imageScale = 2.0f;

juce::Image loadFaceplate()
{
    return juce::ImageFileFormat::loadFrom (PanelArtwork::Faceplate_png, (size_t) PanelArtwork::Faceplate_pngSize);
}

/** Mean perceived brightness (0..1) of the image over a small square around a view point. */
float brightnessAround (const juce::Image& image, juce::Point<float> viewPoint, int halfSide = 2)
{
    const auto cx = juce::roundToInt (viewPoint.x * imageScale);
    const auto cy = juce::roundToInt (viewPoint.y * imageScale);
    auto sum = 0.0f;
    auto count = 0;

    for (int y = cy - halfSide; y <= cy + halfSide; ++y)
        for (int x = cx - halfSide; x <= cx + halfSide; ++x)
        {
            sum += testing_support::pixelAt (image, x, y).getPerceivedBrightness();
            ++count;
        }

    return sum / (float) count;
}

/** Where a knob in the given view box prints the scale mark at the angle (radians clockwise
    from 12 o'clock): the knob's look-and-feel puts the marks 8.2 / 75 of the knob's size
    outside its body, whose diameter is the size less two margins of 20 / 75 (rounded). */
juce::Point<float> scaleMark (juce::Rectangle<float> knob, float angle)
{
    const auto size = knob.getWidth();
    const auto scale = size / 75.0f;
    const auto bodyRadius = (size - 2.0f * (float) juce::roundToInt (20.0f * scale)) * 0.5f;
    const auto radius = 8.2f * scale + bodyRadius;
    return knob.getCentre() + juce::Point<float> (radius * std::sin (angle), -radius * std::cos (angle));
}

const juce::Rectangle<float> hiAtten { 10, 66, 136, 136 }, hiBoost { 179, 66, 136, 136 };
const juce::Rectangle<float> loAtten { 10, 274, 136, 136 }, loBoost { 179, 274, 136, 136 };
constexpr float boostArcStart = 4.0369468f, boostArcEnd = 6.6287603f;
constexpr float attenArcStart = 5.9376101f, attenArcEnd = 8.5294247f;

struct LetteringSpot
{
    const char* what;
    juce::Point<float> at;
};

} // namespace

TEST (FaceplateImage, DecodesAtTwiceTheViewSizeWithAlpha)
{
    const auto image = loadFaceplate();

    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 650);
    EXPECT_EQ (image.getHeight(), 1140);
    EXPECT_TRUE (image.hasAlphaChannel());
}

// The copy at the strip's own size, which an editor shows without decoding, is the picture as
// the strip would scale it: regenerating one without the other would show a stale faceplate.
TEST (FaceplateImage, TheReadyScaledCopyIsThePictureAtTheStripsSize)
{
    const auto* bytes = reinterpret_cast<const juce::uint8*> (PanelArtwork::Faceplate325x570_rgb);
    const auto size = (size_t) PanelArtwork::Faceplate325x570_rgbSize;
    ASSERT_GE (size, 4u);

    const auto width = bytes[0] | (bytes[1] << 8);
    const auto height = bytes[2] | (bytes[3] << 8);
    ASSERT_EQ (width, 325);
    ASSERT_EQ (height, 570);
    ASSERT_EQ (size, 4u + (size_t) (width * height * 3));

    juce::Image scaled (juce::Image::RGB, width, height, true);
    {
        juce::Graphics g (scaled);
        g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
        g.drawImage (loadFaceplate(), scaled.getBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    }

    int worst = 0;
    juce::Point<int> worstAt;

    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const auto* stored = bytes + 4 + ((size_t) y * (size_t) width + (size_t) x) * 3;
            const auto expected = scaled.getPixelAt (x, y);
            const auto difference = juce::jmax (std::abs (stored[0] - expected.getRed()), std::abs (stored[1] - expected.getGreen()),
                                                std::abs (stored[2] - expected.getBlue()));
            if (difference > worst)
            {
                worst = difference;
                worstAt = { x, y };
            }
        }
    }

    EXPECT_LE (worst, 2) << "at " << worstAt.toString();
}

TEST (FaceplateImage, IsDarkBehindTheLightLettering)
{
    const auto image = loadFaceplate();
    ASSERT_TRUE (image.isValid());

    const LetteringSpot spots[] {
        { "HI ATTEN scale 0", scaleMark (hiAtten, attenArcStart) },
        { "HI ATTEN scale 10", scaleMark (hiAtten, attenArcEnd) },
        { "HI BOOST scale 0", scaleMark (hiBoost, boostArcStart) },
        { "HI BOOST scale 10", scaleMark (hiBoost, boostArcEnd) },
        { "LO ATTEN scale 6", scaleMark (loAtten, attenArcStart + 0.6f * (attenArcEnd - attenArcStart)) },
        { "LO BOOST scale 4", scaleMark (loBoost, boostArcStart + 0.4f * (boostArcEnd - boostArcStart)) },
        { "HI ATTEN name", { 45, 175 } },
        { "HI BOOST name", { 280, 175 } },
        { "LO ATTEN name", { 45, 383 } },
        { "LO BOOST name", { 280, 383 } },
        { "CPS position 20", { 38, 193 } },
        { "BOOST KCS position 16", { 177, 193 } },
        { "CPS name", { 57, 220 } },
        { "BOOST KCS name", { 140, 220 } },
        { "HI BW name", { 222, 220 } },
        { "ATTEN KCS second line", { 285, 228 } },
    };

    for (const auto& spot : spots)
        EXPECT_LT (brightnessAround (image, spot.at), 0.3f) << spot.what << " at " << spot.at.toString();
}

TEST (FaceplateImage, IsLightBehindTheBlackLettering)
{
    const auto image = loadFaceplate();
    ASSERT_TRUE (image.isValid());

    const LetteringSpot spots[] {
        { "ENGAGE", { 72, 409 } },
        { "USB", { 134, 408 } },
        { "LINK", { 163, 408 } },
        { "selector 2", { 197, 408 } },
        { "clip 2", { 232, 408 } },
        { "CLIP", { 223, 434 } },
        { "CH.", { 300, 422 } },
        { "PRESET", { 273, 525 } },
    };

    for (const auto& spot : spots)
        EXPECT_GT (brightnessAround (image, spot.at), 0.6f) << spot.what << " at " << spot.at.toString();
}

TEST (FaceplateImage, LeavesThePlatePlainBehindEverySwitchName)
{
    const auto image = loadFaceplate();
    ASSERT_TRUE (image.isValid());

    // Each switch letters its name in labels 6 / 37.5 of its height tall (12 here, the switches
    // being 72 high from y = 193): one line centred 11 / 37.5 below the top plus half a label,
    // or two lines 5.8 / 37.5 apart, the first 9.4 / 37.5 below the top plus half a label. A
    // well sunk behind the caps must start below them: along each label's rows the plate at
    // the label's centre is as bright as the plain plate between two switches.
    struct NameLabel { const char* what; float centreX; float centreY; };
    const NameLabel labels[] {
        { "CPS", 57, 220 },
        { "BOOST KCS", 140, 220 },
        { "HI BW", 222, 220 },
        { "ATTEN", 285, 217 },
        { "KCS", 285, 228 },
    };
    constexpr float plainPlateX = 253.0f, labelHeight = 12.0f, halfBand = 5.0f;

    for (const auto& label : labels)
    {
        for (auto y = label.centreY - labelHeight * 0.5f; y < label.centreY + labelHeight * 0.5f; y += 1.0f / imageScale)
        {
            auto behindLabel = 0.0f, plainPlate = 0.0f;
            for (auto dx = -halfBand; dx <= halfBand; dx += 1.0f)
            {
                behindLabel += brightnessAround (image, { label.centreX + dx, y }, 0);
                plainPlate += brightnessAround (image, { plainPlateX + dx * 0.2f, y }, 0);
            }

            EXPECT_LT (plainPlate - behindLabel, 0.35f) << label.what << " at y " << y;
        }
    }
}

TEST (FaceplateImage, HasAVeryDarkButNotBlackGlassBehindTheDisplay)
{
    const auto image = loadFaceplate();
    ASSERT_TRUE (image.isValid());

    const juce::Rectangle<float> display { 120, 450, 103, 64 };
    for (auto fx : { 0.1f, 0.5f, 0.9f })
        for (auto fy : { 0.1f, 0.5f, 0.9f })
        {
            const auto at = display.getRelativePoint (fx, fy);
            const auto brightness = brightnessAround (image, at);
            EXPECT_GT (brightness, 0.06f) << "black segments would vanish at " << at.toString();
            EXPECT_LT (brightness, 0.22f) << at.toString();
        }
}

TEST (FaceplateImage, LeavesTheWindowButtonCornerPlain)
{
    const auto image = loadFaceplate();
    ASSERT_TRUE (image.isValid());

    // Inside the corner's box, off the panel's edge lines: nothing printed, only the plate.
    const auto corner = juce::Rectangle<int> (289, 0, 36, 36).reduced (2) * (int) imageScale;
    auto lowest = 1.0f, highest = 0.0f;
    for (int y = corner.getY(); y < corner.getBottom(); ++y)
        for (int x = corner.getX(); x < corner.getRight(); ++x)
        {
            const auto brightness = testing_support::pixelAt (image, x, y).getPerceivedBrightness();
            lowest = juce::jmin (lowest, brightness);
            highest = juce::jmax (highest, brightness);
        }

    EXPECT_LT (highest - lowest, 0.06f);
    EXPECT_LT (highest, 0.3f) << "the corner is part of the dark plate";
}
