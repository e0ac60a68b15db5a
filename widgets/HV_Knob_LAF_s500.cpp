#include "widgets/HV_Knob_LAF_s500.h"

#include "widgets/EQ700K_Colours.h"
#include "widgets/HV_GuiHelper.h"
#include "widgets/HV_Knob.h"
#include "widgets/HvSharedArt.h"

#include <cmath>

namespace
{

constexpr float designSize = 75.0f;
const juce::Colour unlitLampColour { 0xffb49614 };
const juce::Colour litLampColour { 0xffc8c8c8 };


/** The angle of mark i of n spread evenly over the knob's arc. */
float markAngle (const juce::Slider::RotaryParameters& arc, int i, int n)
{
    return arc.startAngleRadians
         + (float) i * (arc.endAngleRadians - arc.startAngleRadians) / (float) juce::jmax (1, n - 1);
}

} // namespace

void HV_Knob_LAF_s500::setLafBounds (const int& newSize, HV_Knob& knob)
{
    const auto newScale = (float) newSize / designSize;
    layOut (newSize,
            (float) juce::jmax (1, juce::roundToInt (20.0f * newScale)),
            juce::jmax (1.0f, 1.5f * newScale),
            knob);
}

void HV_Knob_LAF_s500::prepareKnobRuller (HV_Knob& knob)
{
    auto& labels = knob.getScaleLabels();

    if (labels.isEmpty() || size < 1)
    {
        rullerImage = {};
        rullerKey = {};
        rullerVisible = false;
        return;
    }

    const auto arc = knob.getRotaryParameters();
    const auto markRadius = 8.2f * scale + knobRadius;
    knob.rulerRadius = markRadius;

    const auto textBox = (int) std::ceil (12.0f * scale);
    const auto areaInset = juce::roundToInt ((float) textBox / 4.0f);
    const auto areaSide = textBox / 2;
    const auto textInset = juce::roundToInt ((float) textBox / 2.0f);
    const auto toParent = juce::AffineTransform::translation ((float) knob.getX() + halfSize,
                                                              (float) knob.getY() + halfSize);

    juce::StringArray texts;

    for (int i = 0; i < labels.size(); ++i)
    {
        // Squares at 12 o'clock, turned to the mark; only their bounding boxes are used, so the
        // click areas and the texts stay upright.
        const auto rotation = juce::AffineTransform::rotation (markAngle (arc, i, labels.size()));
        const juce::Rectangle<int> area (-areaInset, (int) (-markRadius - (float) areaInset), areaSide, areaSide);
        labels[i]->setBounds (area.transformedBy (rotation.followedBy (toParent)));
        texts.add (labels[i]->text);
    }

    // The font as it resolves now: the scale of another face is another image.
    const juce::Font font (juce::jlimit (0.1f, 10000.0f, 6.25f * scale), juce::Font::bold);
    const auto face = font.getTypefacePtr();
    const auto faceName = face != nullptr ? face->getName() + " " + face->getStyle() : juce::String();

    const auto imageSize = size;
    const auto centre = halfSize;
    const auto dotDiameter = scale;

    rullerKey = HvSharedArt::key ("knobScale", imageSize, markRadius, textBox, arc.startAngleRadians, arc.endAngleRadians,
                                  texts.joinIntoString ("|"), faceName, font.getHeight());
    rullerImage = HvSharedArt::get().image (rullerKey,
        [=]
        {
            auto image = HV_GuiHelper::createClearedSquare (imageSize);
            juce::Graphics g (image);
            g.setColour (EQ700K_Colours::panelFontColour);
            g.setFont (font);

            const auto toKnob = juce::AffineTransform::translation (centre, centre);

            for (int i = 0; i < texts.size(); ++i)
            {
                const auto rotation = juce::AffineTransform::rotation (markAngle (arc, i, texts.size()));

                if (texts[i] != ".")
                {
                    const juce::Rectangle<int> box (-textInset, (int) (-markRadius - (float) textInset), textBox, textBox);
                    g.drawFittedText (texts[i], box.transformedBy (rotation.followedBy (toKnob)),
                                      juce::Justification::centred, 1, 0.0f);
                }
                else
                {
                    juce::Path dot;
                    dot.addEllipse (-dotDiameter * 0.5f, -markRadius - dotDiameter * 0.5f, dotDiameter, dotDiameter);
                    g.fillPath (dot, rotation.followedBy (toKnob));
                }
            }

            return image;
        });

    rullerVisible = true;
}

void HV_Knob_LAF_s500::prepareKnobRullerDecorator (HV_Knob& knob)
{
    auto& lamps = knob.getScaleLamps();

    if (lamps.isEmpty() || size < 1)
    {
        rullerDecoratorImage = {};
        rullerDecoratorKey = {};
        rullerDecoratorVisible = false;
        return;
    }

    const auto arc = knob.getRotaryParameters();

    const auto lampSize = juce::roundToInt (scale * (75.0f / 17.0f));
    litLampImage = HV_GuiHelper::sharedOnDiodeImage ((float) lampSize, litLampColour);
    const auto side = 2 * lampSize;

    lampRadius = 14.7f * scale + knobRadius;
    lampStep = 1.0f / (float) juce::jmax (1, lamps.size() - 1);

    const auto halfSide = juce::roundToInt ((float) side / 2.0f);

    for (int i = 0; i < lamps.size(); ++i)
    {
        const auto angle = markAngle (arc, i, lamps.size());
        lamps[i]->setBounds ((int) ((float) knob.getX() + halfSize + lampRadius * std::sin (angle)) - halfSide,
                             (int) ((float) knob.getY() + halfSize - lampRadius * std::cos (angle)) - halfSide,
                             side, side);
    }

    // The ring is the same for every knob of a size and arc: made once per process.
    const auto numLamps = lamps.size();
    const auto imageSize = size;
    const auto centre = halfSize;
    const auto radius = lampRadius;

    rullerDecoratorKey = HvSharedArt::key ("lampRing", imageSize, lampSize, radius, numLamps, arc.startAngleRadians,
                                           arc.endAngleRadians);
    rullerDecoratorImage = HvSharedArt::get().image (rullerDecoratorKey,
        [=]
        {
            auto image = HV_GuiHelper::createClearedSquare (imageSize);
            const auto unlitLamp = HV_GuiHelper::sharedOffDiodeImage (lampSize, unlitLampColour);
            juce::Graphics g (image);

            for (int i = 0; i < numLamps; ++i)
                g.drawImageTransformed (unlitLamp, juce::AffineTransform::translation (-(float) side / 2.0f,
                                                                                       -radius - (float) side / 2.0f)
                                                       .rotated (markAngle (arc, i, numLamps))
                                                       .translated (centre, centre));
            return image;
        });

    rullerDecoratorVisible = true;
}

juce::Image HV_Knob_LAF_s500::fixedDecoratorLayer() const
{
    return rullerDecoratorImage;
}

void HV_Knob_LAF_s500::drawRullerDecorator (juce::Graphics& g, int, int, int, int, float sliderPosProportional,
                                            float rotaryStartAngle, float rotaryEndAngle, juce::Slider&)
{
    // The ring of unlit lamps is already drawn when it is part of the fixed layers.
    if (! fixedLayersImage.isValid())
        g.drawImageAt (rullerDecoratorImage, 0, 0);

    const auto pos = sliderPosProportional;
    const auto lower = std::floor (pos / lampStep) * lampStep;
    const auto upper = lower + lampStep;

    // How far, in hundredths of a step, the value is past the lower lamp: the lower lamp stays
    // full for the first half and fades over the second, the upper one the other way round.
    const auto hundredths = (int) std::floor (100.0f * pos / lampStep) % 100;
    const auto fraction = (float) hundredths / 50.0f;
    const auto lowerOpacity = hundredths <= 50 ? 1.0f : std::abs (2.0f - fraction);
    const auto upperOpacity = hundredths <= 50 ? std::abs (fraction) : 1.0f;

    const auto w = (float) litLampImage.getWidth();
    const auto h = (float) litLampImage.getHeight();
    const auto span = rotaryEndAngle - rotaryStartAngle;

    const auto drawLitLampAt = [&] (float proportion, float opacity)
    {
        g.setOpacity (opacity);
        g.drawImageTransformed (litLampImage, juce::AffineTransform::translation (-w / 2.0f, -lampRadius - h / 2.0f)
                                                  .rotated (rotaryStartAngle + span * proportion)
                                                  .translated (halfSize, halfSize));
    };

    drawLitLampAt (lower, lowerOpacity);
    drawLitLampAt (upper, upperOpacity);
    g.setOpacity (1.0f);
}
