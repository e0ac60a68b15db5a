#include "widgets/HV_GuiHelper.h"

#include "widgets/HV_Random.h"

#include <cmath>

namespace
{

using juce::Colour;
using juce::Image;

/** Adds 0..9 to a channel, or takes it away from a channel that is already near full. */
juce::uint8 addNoise (juce::uint8 channel)
{
    const auto delta = HV_Random::nextSharedRand() % 10;
    return (juce::uint8) (channel > 245 ? channel - delta : channel + delta);
}

/** The pixel that a shift moves a position to, wrapped round into 0..edge - 1 however far the
    shift goes. */
int shiftedPosition (int position, float shift, int edge)
{
    const auto moved = std::trunc ((double) position + (double) shift);

    if (! std::isfinite (moved))
        return position;

    auto wrapped = std::fmod (moved, (double) edge);

    if (wrapped < 0.0)
        wrapped += edge;

    return (int) wrapped;
}

/** Renders the conical layer: each pixel takes the table entry of its angle around the centre,
    with noise. Pixels are stored through setPixelColour, which premultiplies them, so a
    transparent entry stays a valid transparent pixel whatever noise it got. */
Image renderConicalLayer (const juce::ColourGradient& colours, float size, int edge, float shiftX, float shiftY)
{
    juce::HeapBlock<juce::PixelARGB> table;
    const auto numEntries = colours.createLookupTable (juce::AffineTransform(), table);

    Image layer (Image::ARGB, edge, edge, true);
    Image::BitmapData pixels (layer, Image::BitmapData::writeOnly);

    const auto centre = size * 0.5f;
    const auto angleToIndex = (1.0f / juce::MathConstants<float>::twoPi) * (float) (numEntries - 1);

    for (int y = 0; y < edge; ++y)
    {
        for (int x = 0; x < edge; ++x)
        {
            const auto angle = std::atan2 ((float) y - centre, (float) x - centre);
            const auto index = juce::jlimit (0, numEntries - 1,
                                             juce::roundToInt ((angle + juce::MathConstants<float>::pi) * angleToIndex));
            const auto& entry = table[index];

            // One draw per channel, in this order.
            const auto red = addNoise (entry.getRed());
            const auto green = addNoise (entry.getGreen());
            const auto blue = addNoise (entry.getBlue());

            pixels.setPixelColour (shiftedPosition (x, shiftX, edge), shiftedPosition (y, shiftY, edge),
                                   Colour (red, green, blue, entry.getAlpha()));
        }
    }

    return layer;
}

/** The part of the layer that lies on a ring of the chamfer's width along its edge. */
Image restrictToChamferRing (const Image& layer, float chamfer)
{
    const auto edge = layer.getWidth();

    Image mask (Image::ARGB, edge, edge, true);
    {
        juce::Graphics g (mask);
        g.setColour (Colour (0xffff0000));
        g.drawEllipse (chamfer * 0.5f, chamfer * 0.5f, (float) edge - chamfer, (float) edge - chamfer, chamfer);
    }

    Image ring (Image::ARGB, edge, edge, true);
    {
        juce::Graphics g (ring);
        g.reduceClipRegion (mask, juce::AffineTransform());
        g.drawImageAt (layer, 0, 0);
    }

    return ring;
}

/** A band layer's gradient: the edge colour at 0 and 1 and the centre colour at 0.5, each
    fading to transparent over the half-width. */
juce::ColourGradient makeBandGradient (Colour edgeColour, Colour centreColour, float halfWidth,
                                       juce::Point<float> lineStart, juce::Point<float> lineEnd)
{
    juce::ColourGradient gradient (edgeColour, lineStart, edgeColour, lineEnd, false);
    const auto transparent = juce::Colours::transparentBlack;
    gradient.addColour (halfWidth, transparent);
    gradient.addColour (0.5 - halfWidth, transparent);
    gradient.addColour (0.5 + halfWidth, transparent);
    gradient.addColour (1.0 - halfWidth, transparent);
    gradient.addColour (0.5, centreColour);
    return gradient;
}

} // namespace

void HV_GuiHelper::fillConicalGradient (juce::Graphics* target, const juce::ColourGradient& colours,
                                        const float& size, const float& targetSize,
                                        const float& shiftX, const float& shiftY, const float& chamfer)
{
    if (target == nullptr || ! std::isfinite (size) || ! std::isfinite (targetSize))
        return;

    const juce::Graphics::ScopedSaveState savedState (*target);

    const auto edge = juce::jmax (2, juce::roundToInt (size));
    auto layer = renderConicalLayer (colours, size, edge, shiftX, shiftY);

    if (chamfer > 0.0f && size * 0.5f > chamfer)
        layer = restrictToChamferRing (layer, chamfer);

    const auto offset = std::round ((targetSize - size) * 0.5f);

    juce::Path disc;
    disc.addEllipse (offset, offset, (float) edge, (float) edge);
    target->reduceClipRegion (disc);
    target->drawImageTransformed (layer, juce::AffineTransform::translation (offset, offset));
}

void HV_GuiHelper::prepareConicalGradWithChamfer (juce::Image& image, const float& size, const float& chamfer)
{
    // The draws come first, whatever the size.
    const auto u1 = HV_Random::getNextFloat();
    const auto u2 = HV_Random::getNextFloat();
    const auto u3 = HV_Random::getNextFloat();
    const auto u4 = HV_Random::getNextFloat();

    const auto wideHalfWidth = 0.11f + 0.04f * u2;
    const auto narrowHalfWidth = 0.045f + 0.005f * u4;
    const auto wideAngle = 0.06f * juce::MathConstants<float>::pi * u1;
    const auto narrowAngle = (0.63f + 0.05f * u3) * juce::MathConstants<float>::pi;

    const auto edge = std::isfinite (size) ? juce::roundToInt (size) : 0;
    image = HV_GuiHelper::createClearedSquare (edge);

    if (! image.isValid())
        return;

    const juce::Point<float> origin, alongX { size, 0.0f }, alongY { 0.0f, size };
    const auto innerSize = size - 2.0f * chamfer;

    struct BandLayer
    {
        Colour edgeColour, centreColour;
        float halfWidth;
        juce::Point<float> lineStart;
        float layerSize, layerChamfer, rotation;
    };

    const BandLayer layers[] = {
        { Colour (0x59000000), Colour (0x5b000000), wideHalfWidth, alongX, size, chamfer, wideAngle },
        { Colour (0x3c000000), Colour (0x3d000000), narrowHalfWidth, alongY, size, chamfer, narrowAngle },
        { Colour (0x66000000), Colour (0x66000000), wideHalfWidth, alongX, innerSize, 0.0f, wideAngle },
        { Colour (0x66000000), Colour (0x66000000), narrowHalfWidth, alongX, innerSize, 0.0f, narrowAngle },
    };

    juce::Graphics g (image);

    for (const auto& layer : layers)
    {
        const auto gradient = makeBandGradient (layer.edgeColour, layer.centreColour, layer.halfWidth,
                                                layer.lineStart, origin);
        Image working (Image::ARGB, edge, edge, true);
        {
            juce::Graphics layerGraphics (working);
            fillConicalGradient (&layerGraphics, gradient, layer.layerSize, size, 0.0f, 0.0f, layer.layerChamfer);
        }
        g.drawImageTransformed (working, juce::AffineTransform::rotation (layer.rotation, size * 0.5f, size * 0.5f));
    }
}

void HV_GuiHelper::makeRotaryBrushingEffect (juce::Graphics& target, const float& size,
                                             const float& innerDiameter, const float& outerDiameter,
                                             const juce::uint8& maxAlpha)
{
    // Fifty rings one step wide cover the annulus exactly; counting them rather than stepping
    // a float position keeps rounding from adding a degenerate last ring.
    constexpr int numRings = 50;

    if (outerDiameter > innerDiameter && std::isfinite (size) && std::isfinite (outerDiameter - innerDiameter))
    {
        const auto step = (outerDiameter - innerDiameter) / 100.0f;
        const auto firstOffset = (size - outerDiameter) * 0.5f;

        for (int ring = 0; ring < numRings; ++ring)
        {
            const auto red = HV_Random::nextSharedRand() % 3;
            const auto green = HV_Random::nextSharedRand() % 4;
            const auto blue = HV_Random::nextSharedRand() % 5;
            const auto alphaDraw = HV_Random::nextSharedRand();
            const auto alpha = maxAlpha >= 2 ? alphaDraw % maxAlpha : (int) maxAlpha;

            const auto offset = firstOffset + (float) ring * step;
            const auto diameter = outerDiameter - 2.0f * (float) ring * step;

            target.setColour (Colour ((juce::uint8) red, (juce::uint8) green, (juce::uint8) blue, (juce::uint8) alpha));
            target.drawEllipse (offset, offset, diameter, diameter, step);
        }
    }

    target.setColour (Colour (0xff000000));
}

void HV_GuiHelper::prepareOffDiodeImageEncoder (juce::Image& image, const int& size, const juce::Colour& colour)
{
    image = HV_GuiHelper::createClearedSquare (size >= 1 ? 2 * size : 0);

    if (! image.isValid())
        return;

    // Channels too dark for the rim's steps stop at 0.
    const auto darker = [] (juce::uint8 channel, int amount) { return (juce::uint8) juce::jmax (0, channel - amount); };
    const Colour rim (darker (colour.getRed(), 40), darker (colour.getGreen(), 40), darker (colour.getBlue(), 10),
                      (juce::uint8) 0xff);

    const auto diameter = (float) size;
    juce::Graphics g (image);
    g.setGradientFill (juce::ColourGradient (colour, diameter, diameter, rim, diameter, 2.0f * diameter, true));
    g.fillEllipse (diameter * 0.5f, diameter * 0.5f, diameter, diameter);
}

void HV_GuiHelper::prepareOnDiodeImage (juce::Image& image, const float& size, const juce::Colour& colour)
{
    const auto edge = std::isfinite (size) ? juce::roundToInt (2.0f * size) : 0;
    image = HV_GuiHelper::createClearedSquare (edge);

    if (! image.isValid())
        return;

    const auto d = (float) edge;
    const auto h = d / 2.0f;
    const auto u = d / 15.0f;

    juce::Graphics g (image);

    juce::ColourGradient glow (colour, h, h, colour.withAlpha ((juce::uint8) 0), 2.0f * h, h, true);
    glow.addColour (0.45, colour);
    g.setGradientFill (glow);
    g.fillEllipse (0.0f, 0.0f, d, d);

    const auto raised = [] (juce::uint8 channel, int amount) { return (juce::uint8) juce::jmin (255, channel + amount); };
    const Colour bright (colour.getRed(), raised (colour.getGreen(), 171), raised (colour.getBlue(), 129), (juce::uint8) 0xff);

    const auto coreRadius = 3.75f * u;
    const auto coreDiameter = 7.5f * u;
    g.setGradientFill (juce::ColourGradient (bright, h, h, colour, h + coreRadius, h, true));
    g.fillEllipse (h - coreRadius, h - coreRadius, coreDiameter, coreDiameter);

    g.setColour (bright);
    g.drawEllipse (h - coreRadius, h - coreRadius, coreDiameter, coreDiameter, 0.75f * u);
}

void HV_GuiHelper::prepareGrainImage (juce::Image& image, const int& size)
{
    image = HV_GuiHelper::createClearedSquare (size);

    if (! image.isValid())
        return;

    Image::BitmapData pixels (image, Image::BitmapData::writeOnly);

    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            // Two draws per pixel, grey first.
            const auto grey = (juce::uint8) (20 + HV_Random::nextSharedRand() % 10);
            const auto alpha = (juce::uint8) (HV_Random::nextSharedRand() % 7);
            pixels.setPixelColour (x, y, Colour (grey, grey, grey, alpha));
        }
    }
}

void HV_GuiHelper::drawCapBody (juce::Graphics& g, float diameter, float chamfer)
{
    g.reduceClipRegion (circlePath (0.0f, 0.0f, diameter));
    g.setGradientFill (juce::ColourGradient (Colour (0xffeae4df), 0.0f, 0.0f,
                                             Colour (0xffa49d97), 0.0f, diameter, false));
    g.fillAll();

    const auto faceDiameter = diameter - 2.0f * chamfer;

    if (faceDiameter <= 0.0f)
    {
        g.reduceClipRegion (juce::Rectangle<int>());
        return;
    }

    g.reduceClipRegion (circlePath (chamfer, chamfer, faceDiameter));
    g.setGradientFill (juce::ColourGradient (Colour (0xffcdc6c2), chamfer, 0.0f,
                                             Colour (0xffc6c6c6), diameter - chamfer, 0.0f, false));
    g.fillAll();

    makeRotaryBrushingEffect (g, diameter, 0.0f, diameter, 5);

    Image grain;
    prepareGrainImage (grain, juce::roundToInt (diameter));
    g.drawImageAt (grain, 0, 0);
}

juce::Image HV_GuiHelper::createClearedSquare (int edge)
{
    return edge >= 1 ? Image (Image::ARGB, edge, edge, true) : Image();
}

juce::Path HV_GuiHelper::circlePath (float x, float y, float diameter)
{
    juce::Path path;
    path.addEllipse (x, y, diameter, diameter);
    return path;
}
