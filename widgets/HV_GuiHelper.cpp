#include "widgets/HV_GuiHelper.h"

#include "widgets/HV_Random.h"
#include "widgets/HvSharedArt.h"

#include <cmath>
#include <optional>

namespace
{

using juce::Colour;
using juce::Image;

/** Adds 0..9 to a channel, or takes it away from a channel that is already near full. */
juce::uint8 addNoise (juce::uint8 channel, HV_Random::Noise& noise)
{
    const auto delta = noise.below (10);
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
    auto noise = HV_Random::makeNoise();

    for (int y = 0; y < edge; ++y)
    {
        for (int x = 0; x < edge; ++x)
        {
            const auto angle = std::atan2 ((float) y - centre, (float) x - centre);
            const auto index = juce::jlimit (0, numEntries - 1,
                                             juce::roundToInt ((angle + juce::MathConstants<float>::pi) * angleToIndex));
            const auto& entry = table[index];

            // One draw per channel, in this order.
            const auto red = addNoise (entry.getRed(), noise);
            const auto green = addNoise (entry.getGreen(), noise);
            const auto blue = addNoise (entry.getBlue(), noise);

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

//==============================================================================
// The textures of caps and knob bodies, each drawn in one pass over its pixels: every pixel's
// radius (and, for the bands, angle) is computed once and every layer is evaluated there, a
// turned layer by offsetting the angle, the edges of discs and rings by their exact coverage.

constexpr float twoPi = juce::MathConstants<float>::twoPi;

/** Coverage of a pixel whose centre lies at distance r from the centre of a disc of the radius. */
inline float discCoverage (float r, float radius) noexcept
{
    return juce::jlimit (0.0f, 1.0f, radius - r + 0.5f);
}

/** The band widths and rotations of one cap, drawn from HV_Random::getNextFloat. */
struct CapBands
{
    float wideHalfWidth, narrowHalfWidth, wideAngle, narrowAngle;

    static CapBands draw()
    {
        // In this order.
        const auto u1 = HV_Random::getNextFloat();
        const auto u2 = HV_Random::getNextFloat();
        const auto u3 = HV_Random::getNextFloat();
        const auto u4 = HV_Random::getNextFloat();

        return { 0.11f + 0.04f * u2, 0.045f + 0.005f * u4, 0.06f * juce::MathConstants<float>::pi * u1,
                 (0.63f + 0.05f * u3) * juce::MathConstants<float>::pi };
    }
};

/** The alpha (0..1) of a band layer at a fraction t (0..1) of the turn: two dark bands, at 0 (and
    1) and at 0.5, fading to nothing over the half-width. */
inline float bandAlpha (float t, float halfWidth, float edgeAlpha, float centreAlpha) noexcept
{
    if (t < halfWidth)
        return edgeAlpha * (1.0f - t / halfWidth);

    if (t > 1.0f - halfWidth)
        return edgeAlpha * (1.0f - (1.0f - t) / halfWidth);

    const auto fromCentre = std::abs (t - 0.5f);
    return fromCentre < halfWidth ? centreAlpha * (1.0f - fromCentre / halfWidth) : 0.0f;
}

/** The fraction of the turn that a layer turned by the rotation shows at the angle (-pi..pi). */
inline float turnedFraction (float angle, float rotation) noexcept
{
    auto t = (angle - rotation + juce::MathConstants<float>::pi) * (1.0f / twoPi);
    t -= std::floor (t);
    return t;
}

/** Where the four band layers of a cap lie and what they hold. */
struct BandGeometry
{
    CapBands bands;
    float ringOuter, ringInner; // the chamfer ring of layers 1 and 2 (ringInner 0: the whole disc)
    float discRadius;           // the inner disc of layers 3 and 4

    BandGeometry (const CapBands& drawn, int edge, float size, float chamfer) : bands (drawn)
    {
        ringOuter = (float) edge * 0.5f;
        ringInner = chamfer > 0.0f && size * 0.5f > chamfer ? ringOuter - chamfer : 0.0f;
        discRadius = (float) juce::jmax (2, juce::roundToInt (size - 2.0f * chamfer)) * 0.5f;
    }

    /** The alpha (0..1) of the four layers laid over each other at a pixel. */
    float alphaAt (float r, float angle) const noexcept
    {
        const auto ring = ringInner > 0.0f ? discCoverage (r, ringOuter) * (1.0f - discCoverage (r, ringInner))
                                           : discCoverage (r, ringOuter);
        const auto disc = discCoverage (r, discRadius);

        if (ring <= 0.0f && disc <= 0.0f)
            return 0.0f;

        const auto wide = turnedFraction (angle, bands.wideAngle);
        const auto narrow = turnedFraction (angle, bands.narrowAngle);

        const auto a1 = ring * bandAlpha (wide, bands.wideHalfWidth, 0x59 / 255.0f, 0x5b / 255.0f);
        const auto a2 = ring * bandAlpha (narrow, bands.narrowHalfWidth, 0x3c / 255.0f, 0x3d / 255.0f);
        const auto a3 = disc * bandAlpha (wide, bands.wideHalfWidth, 0x66 / 255.0f, 0x66 / 255.0f);
        const auto a4 = disc * bandAlpha (narrow, bands.narrowHalfWidth, 0x66 / 255.0f, 0x66 / 255.0f);

        return 1.0f - (1.0f - a1) * (1.0f - a2) * (1.0f - a3) * (1.0f - a4);
    }
};

inline juce::uint8 toByte (float value) noexcept
{
    return (juce::uint8) juce::jlimit (0, 255, (int) (value + 0.5f));
}

/** Stores a colour of straight channels (0..255 floats) at an alpha (0..1), premultiplied. */
inline void storePixel (juce::uint8* pixel, float red, float green, float blue, float alpha) noexcept
{
    auto* argb = reinterpret_cast<juce::PixelARGB*> (pixel);
    argb->setARGB (toByte (alpha * 255.0f), toByte (red * alpha), toByte (green * alpha), toByte (blue * alpha));
}

Image renderBands (const CapBands& bands, float size, float chamfer)
{
    const auto edge = std::isfinite (size) ? juce::roundToInt (size) : 0;
    auto image = HV_GuiHelper::createClearedSquare (edge);

    if (! image.isValid())
        return image;

    const BandGeometry geometry (bands, edge, size, chamfer);
    auto noise = HV_Random::makeNoise();
    const auto centre = (float) edge * 0.5f;
    Image::BitmapData pixels (image, Image::BitmapData::writeOnly);

    for (int y = 0; y < edge; ++y)
    {
        const auto dy = (float) y + 0.5f - centre;
        auto* pixel = pixels.getLinePointer (y);

        for (int x = 0; x < edge; ++x, pixel += pixels.pixelStride)
        {
            const auto dx = (float) x + 0.5f - centre;
            const auto alpha = geometry.alphaAt (std::sqrt (dx * dx + dy * dy), std::atan2 (dy, dx));

            // Black with a little noise in each channel.
            const auto noiseBits = noise.next();
            if (alpha > 0.0f)
                storePixel (pixel, (float) ((noiseBits & 0xff) % 10), (float) ((noiseBits >> 8 & 0xff) % 10),
                            (float) ((noiseBits >> 16 & 0xff) % 10), alpha);
        }
    }

    return image;
}

/** Straight colour channels as floats. */
struct Rgb
{
    float r, g, b;

    static Rgb of (Colour c) noexcept { return { (float) c.getRed(), (float) c.getGreen(), (float) c.getBlue() }; }

    Rgb over (Rgb top, float alpha) const noexcept
    {
        return { r + (top.r - r) * alpha, g + (top.g - g) * alpha, b + (top.b - b) * alpha };
    }
};

/** The body of a cap or knob: the bevel ring, light at the top and dark at the bottom; the face
    within it, a left-to-right gradient brushed by 50 faint concentric rings and covered by a
    fine grain; with bands, a cap's band layers over the face. */
Image renderBody (float diameter, float chamfer, const CapBands* bands)
{
    const auto edge = std::isfinite (diameter) ? juce::roundToInt (diameter) : 0;
    auto image = HV_GuiHelper::createClearedSquare (edge);

    if (! image.isValid())
        return image;

    constexpr int numRings = 50;
    auto noise = HV_Random::makeNoise();

    // The rings, from the rim inwards, each a hundredth of the diameter wide: red 0..2, green 0..3,
    // blue 0..4, alpha 0..4 of 255.
    struct Ring { Rgb colour; float alpha; };
    Ring rings[numRings];
    for (auto& ring : rings)
    {
        const auto red = (float) noise.below (3), green = (float) noise.below (4), blue = (float) noise.below (5);
        ring = { { red, green, blue }, (float) noise.below (5) / 255.0f };
    }

    const auto radius = diameter * 0.5f;
    const auto faceRadius = radius - chamfer;
    const auto ringStep = diameter / 100.0f;
    const auto bevelTop = Rgb::of (Colour (0xffeae4df)), bevelBottom = Rgb::of (Colour (0xffa49d97));
    const auto faceLeft = Rgb::of (Colour (0xffcdc6c2)), faceRight = Rgb::of (Colour (0xffc6c6c6));
    const auto faceSpan = juce::jmax (1.0e-3f, diameter - 2.0f * chamfer);

    std::optional<BandGeometry> bandGeometry;
    if (bands != nullptr)
        bandGeometry.emplace (*bands, edge, diameter, chamfer);

    Image::BitmapData pixels (image, Image::BitmapData::writeOnly);

    for (int y = 0; y < edge; ++y)
    {
        const auto py = (float) y + 0.5f;
        const auto dy = py - radius;
        const auto bevel = bevelTop.over (bevelBottom, juce::jlimit (0.0f, 1.0f, py / diameter));
        auto* pixel = pixels.getLinePointer (y);

        for (int x = 0; x < edge; ++x, pixel += pixels.pixelStride)
        {
            const auto px = (float) x + 0.5f;
            const auto dx = px - radius;
            const auto r = std::sqrt (dx * dx + dy * dy);
            const auto grainBits = noise.next();
            const auto outer = discCoverage (r, radius);

            if (outer <= 0.0f)
                continue;

            const auto face = faceRadius > 0.0f ? discCoverage (r, faceRadius) : 0.0f;
            auto colour = bevel;

            if (face > 0.0f)
            {
                auto surface = faceLeft.over (faceRight, juce::jlimit (0.0f, 1.0f, (px - chamfer) / faceSpan));

                const auto ringIndex = (int) std::floor ((radius - r) / ringStep + 0.5f);
                if (ringIndex >= 0 && ringIndex < numRings)
                    surface = surface.over (rings[ringIndex].colour, rings[ringIndex].alpha);

                const auto grey = (float) (20 + (grainBits & 0xff) % 10);
                surface = surface.over ({ grey, grey, grey }, (float) ((grainBits >> 8 & 0xff) % 7) / 255.0f);

                if (bandGeometry.has_value())
                {
                    const auto bandAlphaHere = bandGeometry->alphaAt (r, std::atan2 (dy, dx));
                    const auto noiseGrey = (float) ((grainBits >> 16 & 0xff) % 10);
                    surface = surface.over ({ noiseGrey, noiseGrey, noiseGrey }, bandAlphaHere);
                }

                colour = bevel.over (surface, face);
            }

            storePixel (pixel, colour.r, colour.g, colour.b, outer);
        }
    }

    return image;
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
    const auto bands = CapBands::draw();
    image = renderBands (bands, size, chamfer);
}

juce::Image HV_GuiHelper::renderKnobBody (float diameter, float chamfer)
{
    return renderBody (diameter, chamfer, nullptr);
}

juce::Image HV_GuiHelper::renderCapWithBands (float diameter, float chamfer)
{
    const auto bands = CapBands::draw();
    return renderBody (diameter, chamfer, &bands);
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
        auto noise = HV_Random::makeNoise();

        for (int ring = 0; ring < numRings; ++ring)
        {
            const auto red = noise.below (3);
            const auto green = noise.below (4);
            const auto blue = noise.below (5);
            const auto alphaDraw = (int) (noise.next() >> 1);
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

juce::Image HV_GuiHelper::sharedOffDiodeImage (int size, juce::Colour colour)
{
    return HvSharedArt::get().image (HvSharedArt::key ("unlitLamp", size, (int) colour.getARGB()), [=]
    {
        Image image;
        prepareOffDiodeImageEncoder (image, size, colour);
        return image;
    });
}

juce::Image HV_GuiHelper::sharedOnDiodeImage (float size, juce::Colour colour)
{
    return HvSharedArt::get().image (HvSharedArt::key ("litLamp", size, (int) colour.getARGB()), [=]
    {
        Image image;
        prepareOnDiodeImage (image, size, colour);
        return image;
    });
}

void HV_GuiHelper::prepareGrainImage (juce::Image& image, const int& size)
{
    image = HV_GuiHelper::createClearedSquare (size);

    if (! image.isValid())
        return;

    Image::BitmapData pixels (image, Image::BitmapData::writeOnly);
    auto noise = HV_Random::makeNoise();

    for (int y = 0; y < size; ++y)
    {
        for (int x = 0; x < size; ++x)
        {
            // Two draws per pixel, grey first.
            const auto grey = (juce::uint8) (20 + noise.below (10));
            const auto alpha = (juce::uint8) noise.below (7);
            pixels.setPixelColour (x, y, Colour (grey, grey, grey, alpha));
        }
    }
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
