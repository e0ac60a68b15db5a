#include "widgets/HV_Knob_LAF.h"

#include "widgets/EQ700K_Colours.h"
#include "widgets/HV_GuiHelper.h"
#include "widgets/HV_Knob.h"
#include "widgets/HV_Random.h"
#include "widgets/HvSharedArt.h"

#include <cmath>

namespace
{

constexpr float designSize = 75.0f;

/** The overlay turns 7..15 times more slowly than the pointer; the sign (which can also be -3)
    sets the direction. The float is drawn first. */
float makeBrushAngleDivisor()
{
    const auto u = HV_Random::getNextFloat();
    return (u * 8.0f + 7.0f) * (float) HV_Random::getRandomSign();
}

} // namespace

HV_Knob_LAF::HV_Knob_LAF() : brushAngleDivisor (makeBrushAngleDivisor())
{
}

HV_Knob_LAF::~HV_Knob_LAF() = default;

void HV_Knob_LAF::setLafBounds (const int& newSize, HV_Knob& knob)
{
    const auto newScale = (float) newSize / designSize;
    layOut (newSize,
            (float) juce::jmax (1, juce::roundToInt (10.0f * newScale)),
            (float) juce::jmax (2, juce::roundToInt (1.5f * newScale)),
            knob);
}

void HV_Knob_LAF::layOut (int newSize, float newMargin, float newChamfer, HV_Knob& knob)
{
    size = newSize;
    scale = (float) size / designSize;
    halfSize = (float) size * 0.5f;
    margin = newMargin;
    knobDiameter = juce::jmax (0.0f, std::round ((float) size - 2.0f * margin));
    knobRadius = knobDiameter * 0.5f;
    chamfer = newChamfer;

    HV_GuiHelper::prepareConicalGradWithChamfer (conicalImage, knobDiameter, chamfer);

    prepareKnobImage();
    prepareKnobRuller (knob);
    prepareKnobRullerDecorator (knob);
    prepareKnobShadow();
    composeFixedLayers();
}

void HV_Knob_LAF::composeFixedLayers()
{
    fixedLayersImage = {};

    // Only layers that the store names can be composed once for every knob that shows them.
    const auto withRuller = rullerVisible && rullerImage.isValid();
    const auto decoratorLayer = fixedDecoratorLayer();
    const auto withDecorator = rullerDecoratorVisible && decoratorLayer.isValid();

    if ((withRuller && rullerKey.isEmpty()) || (withDecorator && rullerDecoratorKey.isEmpty())
        || shadowKey.isEmpty() || ! shadowImage.isValid())
        return;

    const auto ruller = withRuller ? rullerImage : juce::Image();
    const auto decorator = withDecorator ? decoratorLayer : juce::Image();
    const auto shadow = shadowImage;
    const auto edge = size;

    fixedLayersImage = HvSharedArt::get().image (
        HvSharedArt::key ("knobFixedLayers", withRuller ? rullerKey : juce::String(),
                          withDecorator ? rullerDecoratorKey : juce::String(), shadowKey),
        [=]
        {
            auto image = HV_GuiHelper::createClearedSquare (edge);
            juce::Graphics g (image);
            g.drawImageAt (ruller, 0, 0);
            g.drawImageAt (decorator, 0, 0);
            g.drawImageAt (shadow, 0, 0);
            return image;
        });
}

void HV_Knob_LAF::prepareKnobImage()
{
    const auto d = knobDiameter;
    const auto r = knobRadius;

    // Before rotation the bar points to 12 o'clock, its outer end 1.9 bevel widths inside the rim.
    pointerPath.clear();
    pointerPath.addRectangle (-0.059f * r, 1.9f * chamfer - r, 0.118f * r, r / 1.8f);

    knobImage = HV_GuiHelper::renderKnobBody (d, chamfer);
}

void HV_Knob_LAF::prepareKnobShadow()
{
    // The same for every knob of a size: made once per process.
    const auto shadowSize = size;
    const auto centreOffset = halfSize;
    const auto d = knobDiameter;
    const auto r = knobRadius;
    const auto s = scale;

    shadowKey = HvSharedArt::key ("knobShadow", shadowSize, d, s);
    shadowImage = HvSharedArt::get().image (shadowKey, [=]
    {
        auto image = HV_GuiHelper::createClearedSquare (shadowSize);

        if (! image.isValid())
            return image;

        juce::Graphics g (image);

        g.setColour (juce::Colour (0x59000000));
        g.drawEllipse (centreOffset - r, centreOffset - r, d, d, 0.5f * s);

        // One scale unit right and three down of the knob's centre.
        const auto diameter = d + juce::jmax (2.0f * s, 2.0f);
        const juce::Point<float> centre (centreOffset + s, centreOffset + 3.0f * s);

        juce::ColourGradient shadow (juce::Colours::black, centre, juce::Colours::transparentBlack,
                                     centre.translated (diameter * 0.5f, 0.0f), true);
        shadow.addColour (0.5, juce::Colours::black);
        g.setGradientFill (shadow);
        g.fillEllipse (centre.x - diameter * 0.5f, centre.y - diameter * 0.5f, diameter, diameter);
        return image;
    });
}

void HV_Knob_LAF::prepareKnobRuller (HV_Knob& knob)
{
    rullerKey = {};
    rullerImage = HV_GuiHelper::createClearedSquare (size);

    if (! rullerImage.isValid())
        return;

    juce::Graphics g (rullerImage);
    g.setColour (EQ700K_Colours::panelFontColour);

    const auto arc = knob.getRotaryParameters();
    const auto start = arc.startAngleRadians;
    const auto span = arc.endAngleRadians - arc.startAngleRadians;
    const auto dotRadius = 6.0f * scale + knobRadius;

    const auto pointAt = [&] (float angle, float radius)
    {
        return juce::Point<float> (halfSize + radius * std::sin (angle), halfSize - radius * std::cos (angle));
    };

    // Fine dots between the ends of a knob that moves in steps below 1.
    if (knob.getInterval() < 1.0)
    {
        for (int i = 1; i <= 39; ++i)
        {
            const auto dot = pointAt (start + ((float) i / 40.0f) * span, dotRadius);
            g.fillEllipse (dot.x - scale * 0.5f, dot.y - scale * 0.5f, scale, scale);
        }
    }

    auto& lamps = knob.getScaleLamps();
    const auto numMarks = knob.getScaleLabels().size();
    const auto side = (int) (10.0f * scale);

    for (int i = 0; i < numMarks && i < lamps.size(); ++i)
    {
        const auto angle = start + (float) i * span / (float) juce::jmax (1, numMarks - 1);
        const auto centre = pointAt (angle, dotRadius) + knob.getPosition().toFloat();
        lamps[i]->setBounds ((int) centre.x - side / 2, (int) centre.y - side / 2, side, side);
    }
}

void HV_Knob_LAF::prepareKnobRullerDecorator (HV_Knob&)
{
}

juce::Image HV_Knob_LAF::fixedDecoratorLayer() const
{
    return {};
}

void HV_Knob_LAF::drawRullerDecorator (juce::Graphics&, int, int, int, int, float, float, float, juce::Slider&)
{
}

void HV_Knob_LAF::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                                    float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    // Only cached images and one small path here: the textures are rendered at layout time.
    // The scale, the lamp ring and the shadow are one image when they could be composed; the
    // lit lamps, which lie outside the shadow, then come after it.
    if (fixedLayersImage.isValid())
    {
        g.drawImageAt (fixedLayersImage, 0, 0);

        if (rullerDecoratorVisible)
            drawRullerDecorator (g, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, slider);
    }
    else
    {
        if (rullerVisible)
            g.drawImageAt (rullerImage, 0, 0);

        if (rullerDecoratorVisible)
            drawRullerDecorator (g, x, y, width, height, sliderPosProportional, rotaryStartAngle, rotaryEndAngle, slider);

        g.drawImageAt (shadowImage, 0, 0);
    }
    g.drawImageAt (knobImage, (int) margin, (int) margin);

    const auto angle = rotaryStartAngle + sliderPosProportional * (rotaryEndAngle - rotaryStartAngle);

    if (drawPointer)
    {
        g.setColour (juce::Colours::black);
        g.fillPath (pointerPath, juce::AffineTransform::rotation (angle).translated (halfSize, halfSize));
    }

    g.drawImageTransformed (conicalImage, juce::AffineTransform::translation (-knobRadius, -knobRadius)
                                              .rotated ((rotaryStartAngle - angle) / brushAngleDivisor)
                                              .translated (halfSize, halfSize));
}
