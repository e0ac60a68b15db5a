#include "support/Rendering.h"
#include "widgets/HV_Knob_LAF_s500.h"
#include "widgets/HV_Knob_s500.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::describe;
using testing_support::pixelAt;
using testing_support::renderComponent;

namespace
{

const juce::StringArray editorScale { "0", ".", "2", ".", "4", ".", "6", ".", "8", ".", "10" };

/** Opens up what the look-and-feel computes and caches. */
struct ProbedLaf : public HV_Knob_LAF_s500
{
    using HV_Knob_LAF_s500::chamfer;
    using HV_Knob_LAF_s500::conicalImage;
    using HV_Knob_LAF_s500::knobDiameter;
    using HV_Knob_LAF_s500::knobImage;
    using HV_Knob_LAF_s500::knobRadius;
    using HV_Knob_LAF_s500::lampRadius;
    using HV_Knob_LAF_s500::lampStep;
    using HV_Knob_LAF_s500::litLampImage;
    using HV_Knob_LAF_s500::margin;
    using HV_Knob_LAF_s500::rullerDecoratorImage;
    using HV_Knob_LAF_s500::rullerDecoratorVisible;
    using HV_Knob_LAF_s500::rullerImage;
    using HV_Knob_LAF_s500::rullerVisible;
    using HV_Knob_LAF_s500::shadowImage;
};

struct DefinedKnob
{
    explicit DefinedKnob (int size, const juce::StringArray& labels = editorScale)
    {
        knob.defineSliderPrms ("BOOST", labels, 0.0f, 1.0f, 0.01f, 0.0f, 0.1f);
        knob.setBounds (0, 0, size, size);
    }

    HV_Knob_s500 knob { HV_Knob_s500::arcLeftLabelRight, true };
};

int side (const juce::Image& image)
{
    return image.isValid() ? image.getWidth() : 0;
}

/** The centre of lamp i of the 11 on a knob of this size, in the knob's coordinates. */
juce::Point<float> lampCentre (const HV_Knob& knob, int i, float lampRadius)
{
    const auto arc = knob.getRotaryParameters();
    const auto angle = arc.startAngleRadians + (float) i * (arc.endAngleRadians - arc.startAngleRadians) / 10.0f;
    const auto half = (float) knob.getWidth() / 2.0f;
    return { half + lampRadius * std::sin (angle), half - lampRadius * std::cos (angle) };
}

bool isTransparent (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                return false;
    return true;
}

} // namespace

// Geometry at the design size, at twice it and at the editor's 136: margin 20 x scale, body
// D = size - 2 x margin, bevel 1.5 x scale, marks at 8.2 x scale + D / 2, lamps at
// 14.7 x scale + D / 2, lamp size round (4.41 x scale), lamp images twice that.
TEST (HV_Knob_LAF_s500, GeometryFollowsTheSize)
{
    struct Case
    {
        int size;
        float margin, diameter, chamfer, rulerRadius, lampRadius;
        int lampImageSide;
    };

    for (const auto& c : { Case { 75, 20.0f, 35.0f, 1.5f, 25.7f, 32.2f, 8 },
                           Case { 150, 40.0f, 70.0f, 3.0f, 51.4f, 64.4f, 18 },
                           Case { 136, 36.0f, 64.0f, 2.72f, 46.869333f, 58.656f, 16 } })
    {
        DefinedKnob defined (c.size);
        ProbedLaf laf;
        laf.setLafBounds (c.size, defined.knob);

        EXPECT_FLOAT_EQ (laf.margin, c.margin) << c.size;
        EXPECT_FLOAT_EQ (laf.knobDiameter, c.diameter) << c.size;
        EXPECT_FLOAT_EQ (laf.knobRadius, c.diameter / 2.0f) << c.size;
        EXPECT_NEAR (laf.chamfer, c.chamfer, 1e-5f) << c.size;
        EXPECT_NEAR (defined.knob.rulerRadius, c.rulerRadius, 1e-4f) << c.size;
        EXPECT_NEAR (laf.lampRadius, c.lampRadius, 1e-4f) << c.size;
        EXPECT_FLOAT_EQ (laf.lampStep, 0.1f);

        EXPECT_EQ (side (laf.knobImage), (int) c.diameter) << c.size;
        EXPECT_EQ (side (laf.conicalImage), (int) c.diameter) << c.size;
        EXPECT_EQ (side (laf.litLampImage), c.lampImageSide) << c.size;
        EXPECT_EQ (defined.knob.getScaleLamps()[5]->getWidth(), c.lampImageSide) << c.size;
        for (const auto* image : { &laf.rullerImage, &laf.shadowImage, &laf.rullerDecoratorImage })
            EXPECT_EQ (side (*image), c.size) << c.size;
    }
}

// The knob as drawn at 150: body, bevel, pointer and the unlit lamp ring where the formulas
// put them.
TEST (HV_Knob_LAF_s500, DrawsBodyPointerAndLampRing)
{
    DefinedKnob defined (150);
    auto& knob = defined.knob;
    knob.setValue (0.0, juce::dontSendNotification);
    const auto image = renderComponent (knob);

    EXPECT_FALSE (testing_support::findInvalidPremultipliedPixel (image).has_value());

    // The face, opaque light grey, away from the pointer.
    const auto face = pixelAt (image, 90, 85);
    EXPECT_EQ (face.getAlpha(), 255) << describe (face);
    EXPECT_GT (face.getBrightness(), 0.4f) << describe (face); // even under a dark band

    // The pointer at the start of the arc: a black bar from 35 - 1.9 x 3 = 29.3 to 29.3 - 35 / 1.8
    // = 9.9 from the centre.
    const auto arc = knob.getRotaryParameters();
    const auto onPointer = juce::Point<float> (75.0f, 75.0f)
                               + juce::Point<float> (std::sin (arc.startAngleRadians), -std::cos (arc.startAngleRadians)) * 20.0f;
    EXPECT_LT (pixelAt (image, (int) onPointer.x, (int) onPointer.y).getBrightness(), 0.1f)
        << describe (pixelAt (image, (int) onPointer.x, (int) onPointer.y));

    // The unlit lamps in amber, the first one lit.
    for (int i = 1; i < 11; ++i)
    {
        const auto centre = lampCentre (knob, i, 64.4f);
        const auto lamp = pixelAt (image, (int) centre.x, (int) centre.y);
        EXPECT_TRUE (testing_support::coloursNear (lamp, juce::Colour (0xffb49614), 12)) << i << ": " << describe (lamp);
    }

    // Outside the ring nothing is drawn.
    EXPECT_EQ (pixelAt (image, 2, 2).getAlpha(), 0);
}

// The two lamps round the value cross-fade: the lower one full for the first half of a step,
// then fading; the upper one rising to full at half a step. The others stay unlit.
TEST (HV_Knob_LAF_s500, LitLampsCrossFadeAroundTheValue)
{
    DefinedKnob defined (150);
    auto& knob = defined.knob;

    // Blue at a lamp's centre: 0x14 unlit, near 0xff lit; in between by the lit lamp's opacity.
    knob.setValue (0.0, juce::dontSendNotification);
    const auto unlitBlue = (float) pixelAt (renderComponent (knob), (int) lampCentre (knob, 5, 64.4f).x,
                                            (int) lampCentre (knob, 5, 64.4f).y).getBlue();
    const auto litBlue = (float) pixelAt (renderComponent (knob), (int) lampCentre (knob, 0, 64.4f).x,
                                          (int) lampCentre (knob, 0, 64.4f).y).getBlue();
    ASSERT_NEAR (unlitBlue, 20.0f, 4.0f);
    ASSERT_GT (litBlue, 230.0f);

    struct Case
    {
        double value;
        std::map<int, float> lit; // lamp -> opacity; the others unlit
    };

    const Case cases[] = {
        { 0.0, { { 0, 1.0f } } },
        { 0.4, { { 4, 1.0f } } },
        { 0.43, { { 4, 1.0f }, { 5, 0.6f } } },  // 30 hundredths past lamp 4
        { 0.45, { { 4, 1.0f }, { 5, 1.0f } } },  // halfway: both full
        { 0.47, { { 4, 0.6f }, { 5, 1.0f } } },  // 70 hundredths
        { 0.8, { { 8, 1.0f } } },
        { 1.0, { { 10, 1.0f } } },                // the lamp past the end gets nothing
    };

    for (const auto& c : cases)
    {
        knob.setValue (c.value, juce::dontSendNotification);
        const auto image = renderComponent (knob);

        for (int i = 0; i < 11; ++i)
        {
            const auto found = c.lit.find (i);
            const auto opacity = found != c.lit.end() ? found->second : 0.0f;
            const auto centre = lampCentre (knob, i, 64.4f);
            const auto blue = (float) pixelAt (image, (int) centre.x, (int) centre.y).getBlue();

            // Hundredths are floored, so a value on a lamp may show the lamp before at 0.02.
            EXPECT_NEAR (blue, unlitBlue + opacity * (litBlue - unlitBlue), 14.0f) << "value " << c.value << ", lamp " << i;
        }
    }
}

// Scale texts and dots: the marks "0" ... "10" in the panel's lettering colour round the body,
// the dots of diameter scale at theirs.
TEST (HV_Knob_LAF_s500, ScaleMarksSitOnTheirRadius)
{
    DefinedKnob defined (150);
    ProbedLaf laf;
    laf.setLafBounds (150, defined.knob);
    ASSERT_TRUE (laf.rullerVisible);

    const auto& ruler = laf.rullerImage;
    const auto arc = defined.knob.getRotaryParameters();

    for (int i = 0; i < 11; ++i)
    {
        const auto angle = arc.startAngleRadians + (float) i * (arc.endAngleRadians - arc.startAngleRadians) / 10.0f;
        const auto centre = juce::Point<float> (75.0f + 51.4f * std::sin (angle), 75.0f - 51.4f * std::cos (angle));

        // Some lettering round the mark's centre, and none in a ring well inside the marks.
        int lit = 0;
        for (int y = -5; y <= 5; ++y)
            for (int x = -5; x <= 5; ++x)
                lit += pixelAt (ruler, (int) centre.x + x, (int) centre.y + y).getAlpha() > 0x80 ? 1 : 0;

        EXPECT_GT (lit, 0) << "mark " << i;
        if (i % 2 == 1)
            EXPECT_LE (lit, 9) << "dot " << i; // a dot of diameter 2
        else
            EXPECT_GT (lit, 9) << "text " << i;
    }

    for (int i = 0; i < 36; ++i)
    {
        const auto angle = juce::MathConstants<float>::twoPi * (float) i / 36.0f;
        EXPECT_EQ (pixelAt (ruler, (int) (75.0f + 38.0f * std::sin (angle)), (int) (75.0f - 38.0f * std::cos (angle))).getAlpha(), 0);
    }
}

// A knob defined without scale labels (as the PRESET knob) has neither scale nor lamps, and
// cleared of its pointer shows none.
TEST (HV_Knob_LAF_s500, AKnobWithoutScaleDrawsOnlyItsBody)
{
    DefinedKnob defined (150, {});
    auto& knob = defined.knob;
    knob.drawPointer = false;
    knob.getKnobLaf()->drawPointer = false;

    ProbedLaf laf;
    laf.setLafBounds (150, knob);
    EXPECT_FALSE (laf.rullerVisible);
    EXPECT_FALSE (laf.rullerDecoratorVisible);

    knob.setValue (0.0, juce::dontSendNotification);
    const auto image = renderComponent (knob);
    const auto arc = knob.getRotaryParameters();
    const auto onPointer = juce::Point<float> (75.0f, 75.0f)
                               + juce::Point<float> (std::sin (arc.startAngleRadians), -std::cos (arc.startAngleRadians)) * 20.0f;

    EXPECT_GT (pixelAt (image, (int) onPointer.x, (int) onPointer.y).getBrightness(), 0.4f);
    const auto lamp = lampCentre (knob, 0, 64.4f);
    EXPECT_EQ (pixelAt (image, (int) lamp.x, (int) lamp.y).getAlpha(), 0);
}

// Painting composes cached images only; only a new layout renders textures.
TEST (HV_Knob_LAF_s500, PaintingNeverRendersTexturesAgain)
{
    DefinedKnob defined (136);
    auto& knob = defined.knob;

    {
        testing_support::DrawingRandomnessProbe probe;
        for (const auto value : { 0.0, 0.37, 0.5, 1.0 })
        {
            knob.setValue (value, juce::dontSendNotification);
            renderComponent (knob);
        }
        EXPECT_TRUE (probe.untouched());
    }

    testing_support::DrawingRandomnessProbe probe;
    knob.setSize (150, 150);
    EXPECT_FALSE (probe.untouched());
}

// Tiny knobs whose body or lamps come out below a pixel leave those images out and draw the
// rest without complaint.
TEST (HV_Knob_LAF_s500, TinyKnobsLeaveOutWhatHasNoPixels)
{
    struct Case
    {
        int size;
        bool body, lamps;
    };

    for (const auto& c : { Case { 2, false, false }, Case { 3, true, false }, Case { 8, true, false },
                           Case { 9, true, true } })
    {
        DefinedKnob defined (c.size);
        ProbedLaf laf;
        laf.setLafBounds (c.size, defined.knob);

        EXPECT_EQ (laf.knobImage.isValid(), c.body) << c.size;
        EXPECT_EQ (laf.conicalImage.isValid(), c.body) << c.size;
        EXPECT_EQ (laf.litLampImage.isValid(), c.lamps) << c.size;

        for (const auto value : { 0.0, 0.45, 1.0 })
        {
            defined.knob.setValue (value, juce::dontSendNotification);
            renderComponent (defined.knob);
        }
    }

    // Laid out directly for nothing at all.
    DefinedKnob defined (75);
    ProbedLaf laf;
    laf.setLafBounds (0, defined.knob);
    EXPECT_FALSE (laf.knobImage.isValid());
    EXPECT_TRUE (isTransparent (testing_support::renderDrawing (4, 4, [&] (juce::Graphics& g)
                                                                 { laf.drawRotarySlider (g, 0, 0, 0, 0, 0.5f, 4.0f, 6.0f, defined.knob); })));
}
