#include "widgets/SevenSegmentDisplay.h"

#include "widgets/HvSharedArt.h"
#include "widgets/StackBlurShadow.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

constexpr float designWidth = 116.0f;
constexpr char blankGlyph = 'N';

const juce::Colour segmentRed { 0xFFFF0000 };
const juce::Colour segmentBlack { 0xFF000000 };

/** Segment outlines in tenths of a design unit, relative to the digit's origin. The first four
    points of a, b, c and d form a run whose two inner corners are rounded. */
struct SegmentOutline
{
    std::vector<juce::Point<int>> points;
    bool roundedRun;
};

const std::array<SegmentOutline, 7>& segmentOutlines()
{
    static const std::array<SegmentOutline, 7> outlines {{
        { { { 95, 133 }, { 116, 118 }, { 138, 114 }, { 282, 118 }, { 261, 149 }, { 130, 149 } }, true },                // a
        { { { 298, 122 }, { 310, 133 }, { 318, 152 }, { 310, 344 }, { 304, 353 }, { 270, 330 }, { 276, 154 } }, true }, // b
        { { { 310, 396 }, { 302, 560 }, { 296, 586 }, { 278, 605 }, { 258, 572 }, { 266, 399 }, { 306, 384 } }, true }, // c
        { { { 73, 597 }, { 94, 606 }, { 110, 608 }, { 264, 609 }, { 243, 577 }, { 114, 577 } }, true },                 // d
        { { { 80, 379 }, { 111, 395 }, { 105, 564 }, { 64, 584 }, { 68, 387 } }, false },                               // e
        { { { 84, 147 }, { 125, 166 }, { 115, 329 }, { 81, 351 }, { 70, 345 } }, false },                                // f
        { { { 89, 365 }, { 125, 343 }, { 236, 344 }, { 277, 370 }, { 239, 384 }, { 118, 379 } }, false },               // g
    }};
    return outlines;
}

/** A design coordinate given in tenths, at the display's scale. */
float scaled (int tenths, float scale) noexcept
{
    return ((float) tenths * scale) / 10.0f;
}

juce::Path makeSegmentPath (const SegmentOutline& outline, float scale)
{
    const auto at = [scale] (juce::Point<int> p) { return juce::Point<float> (scaled (p.x, scale), scaled (p.y, scale)); };

    juce::Path path;
    size_t next = 0;

    if (outline.roundedRun)
    {
        juce::Path run;
        run.startNewSubPath (at (outline.points[0]));
        for (next = 1; next < 4; ++next)
            run.lineTo (at (outline.points[next]));

        path = run.createPathWithRoundedCorners (scaled (16, scale));
    }
    else
    {
        path.startNewSubPath (at (outline.points[0]));
        next = 1;
    }

    for (; next < outline.points.size(); ++next)
        path.lineTo (at (outline.points[next]));

    path.closeSubPath();
    return path;
}

juce::Path makeShapePath (int shape, float scale)
{
    if (shape < 7)
        return makeSegmentPath (segmentOutlines()[(size_t) shape], scale);

    juce::Path decimalPoint;
    decimalPoint.addEllipse (scaled (350, scale), scaled (570, scale), scaled (60, scale), scaled (60, scale));
    return decimalPoint;
}

/** The lit segments of a glyph, bit 0 = a .. bit 6 = g; -1 for a character the display cannot
    show. */
int litSegmentsOf (char glyph) noexcept
{
    switch (glyph)
    {
        case '0': return 0b0111111;
        case '1': return 0b0000110;
        case '2': return 0b1011011;
        case '3': return 0b1001111;
        case '4': return 0b1100110;
        case '5': return 0b1101101;
        case '6': return 0b1111101;
        case '7': return 0b0000111;
        case '8': return 0b1111111;
        case '9': return 0b1101111;
        case '-': return 0b1000000;
        case 'n': return 0b1000110;
        case blankGlyph: return 0;
        default: return -1;
    }
}

} // namespace

SevenSegmentDisplay::SevenSegmentDisplay() = default;

SevenSegmentDisplay::~SevenSegmentDisplay()
{
    stopTimer();
}

SevenSegmentDisplay::Geometry SevenSegmentDisplay::geometryFor (int width) noexcept
{
    Geometry geometry;
    geometry.scale = (float) width / designWidth;
    geometry.digitX = { 6.0f * geometry.scale, 43.0f * geometry.scale, 78.0f * geometry.scale };
    geometry.glowRadius = juce::jmax (1, juce::roundToInt (5.0f * geometry.scale));
    geometry.glowSpread = juce::roundToInt (geometry.scale);
    return geometry;
}

SevenSegmentDisplay::Reading SevenSegmentDisplay::parseText (const juce::String& text)
{
    std::array<char, 3> digits { blankGlyph, blankGlyph, blankGlyph };
    std::array<bool, 3> dots { false, false, false };
    bool negative = false;
    size_t position = 0;

    for (auto* byte = text.toRawUTF8(); *byte != 0; ++byte)
    {
        const auto c = *byte;

        if (c == '-')
        {
            negative = true;
            continue;
        }

        if (c == '.')
        {
            if (position == 0)
                position = 1; // a leading point leaves the first digit blank
            else
                dots[position - 1] = true;
            continue;
        }

        digits[position] = (c >= '0' && c <= '9') ? c : blankGlyph;
        dots[position] = false;

        if (position == 2)
            break;
        ++position;
    }

    const auto shown = std::count_if (digits.begin(), digits.end(), [] (char d) { return d != blankGlyph; });
    const auto sign = negative ? '-' : blankGlyph;
    Reading reading;

    if (shown == 1)
    {
        reading.digits = { sign, blankGlyph, digits[0] };
        reading.dots = { false, false };
    }
    else if (shown == 2)
    {
        reading.digits = { sign, digits[0], digits[1] };
        reading.dots = { false, dots[0] };
    }
    else if (shown == 3 && negative && digits[0] != '1')
    {
        // No room for the sign: the digits move right and the last one is dropped.
        reading.digits = { '-', digits[0], digits[1] };
        reading.dots = { false, dots[0] };
    }
    else
    {
        reading.digits = digits;
        reading.dots = { dots[0], dots[1] };

        if (shown == 3 && negative)
            reading.digits[0] = 'n'; // the minus and the one share the first digit
    }

    return reading;
}

void SevenSegmentDisplay::setTextToDisplay (const juce::String& text)
{
    stopTimer();
    reading = parseText (text);
    repaint();
}

void SevenSegmentDisplay::timerCallback()
{
    stopTimer();

    // A display that is blank already has nothing to draw again: an idle editor paints nothing.
    if (reading == Reading {})
        return;

    reading = {};
    repaint();
}

void SevenSegmentDisplay::resized()
{
    if (getWidth() <= 0 || getHeight() <= 0)
        return;

    const auto geometry = geometryFor (getWidth());
    digitX = geometry.digitX;
    renderSegmentImages (geometry);
}

void SevenSegmentDisplay::renderSegmentImages (const Geometry& geometry)
{
    const auto s = geometry.scale;
    const auto margin = 5.0f * s;
    const StackBlurShadow glow (segmentRed.withAlpha ((juce::uint8) 0x80), geometry.glowRadius, {}, geometry.glowSpread);

    for (int shape = 0; shape < numShapes; ++shape)
    {
        const auto path = makeShapePath (shape, s);
        const auto bounds = path.getBounds();
        const auto width = (int) std::ceil (juce::jmax (0.0f, 10.0f * s + bounds.getWidth()));
        const auto height = (int) std::ceil (juce::jmax (0.0f, 10.0f * s + bounds.getHeight()));
        const auto index = (size_t) shape;

        segmentBounds[index] = { juce::roundToInt (bounds.getX() - margin), juce::roundToInt (bounds.getY() - margin),
                                 width, height };
        litSegmentImages[index] = {};
        unlitSegmentImages[index] = {};

        if (width < 1 || height < 1)
            continue; // an image of no pixels is not allowed; the shape is then simply not drawn

        auto moved = path;
        moved.applyTransform (path.getTransformToScaleToFit (margin, margin, bounds.getWidth(), bounds.getHeight(), true));

        // The same for every display of a width: made once per process.
        const auto key = HvSharedArt::key ("segment", shape, s, geometry.glowRadius, geometry.glowSpread);

        litSegmentImages[index] = HvSharedArt::get().image (key + "/lit", [&]
        {
            juce::Image lit (juce::Image::ARGB, width, height, true);
            juce::Graphics g (lit);
            glow.drawForPath (g, moved);
            g.setColour (segmentRed);
            g.fillPath (moved);
            return lit;
        });

        unlitSegmentImages[index] = HvSharedArt::get().image (key + "/unlit", [&]
        {
            juce::Image unlit (juce::Image::ARGB, width, height, true);
            juce::Graphics g (unlit);
            g.setColour (segmentBlack);
            g.fillPath (moved);
            return unlit;
        });
    }
}

void SevenSegmentDisplay::paint (juce::Graphics& g)
{
    drawDigit (g, 0, reading.digits[0], reading.dots[0]);
    drawDigit (g, 1, reading.digits[1], reading.dots[1]);
    drawDigit (g, 2, reading.digits[2], false);
}

void SevenSegmentDisplay::drawDigit (juce::Graphics& g, int digitIndex, char glyph, bool decimalPoint)
{
    const auto litSegments = litSegmentsOf (glyph);
    if (litSegments < 0)
        return;

    const auto originX = digitIndex == 0 ? digitX[0] : (digitIndex == 1 ? digitX[1] : digitX[2]);

    const auto drawShape = [&] (int shape, bool lit)
    {
        const auto index = (size_t) shape;
        const auto& image = lit ? litSegmentImages[index] : unlitSegmentImages[index];

        if (image.isValid())
            g.drawImageAt (image, (int) ((float) segmentBounds[index].getX() + originX), segmentBounds[index].getY());
    };

    for (int segment = 0; segment < 7; ++segment)
        drawShape (segment, (litSegments & (1 << segment)) != 0);

    if (digitIndex == 0 || digitIndex == 1)
        drawShape (decimalPointShape, decimalPoint);
}
