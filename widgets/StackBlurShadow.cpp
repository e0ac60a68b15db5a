#include "widgets/StackBlurShadow.h"

#include <cstdint>
#include <vector>

namespace
{

/** One pass of the stack blur along a line of samples that are `step` bytes apart. The running
    sums slide a pyramid of weights 1, 2, .., radius + 1, .., 2, 1 along the line; `line` is
    scratch space of the line's length. */
void blurLine (juce::uint8* first, int count, int step, int radius, std::vector<std::uint32_t>& line)
{
    for (int i = 0; i < count; ++i)
        line[(size_t) i] = first[i * step];

    const auto sample = [&line, count] (int i) { return (std::uint64_t) line[(size_t) juce::jlimit (0, count - 1, i)]; };
    const auto weightSum = (std::uint64_t) (radius + 1) * (std::uint64_t) (radius + 1);

    std::uint64_t sum = 0, sumOut = 0, sumIn = 0;

    for (int i = -radius; i <= 0; ++i)
    {
        sum += sample (i) * (std::uint64_t) (radius + 1 + i);
        sumOut += sample (i);
    }

    for (int i = 1; i <= radius; ++i)
    {
        sum += sample (i) * (std::uint64_t) (radius + 1 - i);
        sumIn += sample (i);
    }

    for (int x = 0; x < count; ++x)
    {
        first[x * step] = (juce::uint8) ((sum + weightSum / 2) / weightSum);

        // Slide the pyramid one sample on: the left half loses its last sample, the right half
        // gains a new one, and the sample after the centre moves from the right half to the left.
        sum -= sumOut;
        sumOut -= sample (x - radius);
        sumIn += sample (x + radius + 1);
        sum += sumIn;
        sumOut += sample (x + 1);
        sumIn -= sample (x + 1);
    }
}

} // namespace

StackBlurShadow::StackBlurShadow (juce::Colour colourToUse, int radiusToUse, juce::Point<int> offsetToUse,
                                  int spreadToUse) noexcept
    : colour (colourToUse), radius (radiusToUse), offset (offsetToUse), spread (spreadToUse)
{
}

void StackBlurShadow::drawForPath (juce::Graphics& target, const juce::Path& path) const
{
    const auto margin = radius + spread + 1;
    const auto area = (path.getBounds().getSmallestIntegerContainer() + offset)
                          .expanded (margin)
                          .getIntersection (target.getClipBounds().expanded (margin));

    if (area.getWidth() <= 2 || area.getHeight() <= 2)
        return;

    juce::Image mask (juce::Image::SingleChannel, area.getWidth(), area.getHeight(), true);
    {
        juce::Graphics maskGraphics (mask);
        const auto toMask = juce::AffineTransform::translation ((float) (offset.x - area.getX()),
                                                                (float) (offset.y - area.getY()));
        maskGraphics.setColour (juce::Colours::white);
        maskGraphics.fillPath (path, toMask);

        if (spread > 0)
            maskGraphics.strokePath (path, juce::PathStrokeType (2.0f * (float) spread), toMask);
    }

    blurSingleChannel (mask, radius);

    target.setColour (colour);
    target.drawImageAt (mask, area.getX(), area.getY(), true);
}

void StackBlurShadow::blurSingleChannel (juce::Image& image, int radius)
{
    if (radius < 1 || ! image.isValid() || image.getFormat() != juce::Image::SingleChannel)
        return;

    const auto width = image.getWidth();
    const auto height = image.getHeight();
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readWrite);
    std::vector<std::uint32_t> line ((size_t) juce::jmax (width, height));

    for (int y = 0; y < height; ++y)
        blurLine (pixels.getLinePointer (y), width, pixels.pixelStride, radius, line);

    for (int x = 0; x < width; ++x)
        blurLine (pixels.getPixelPointer (x, 0), height, pixels.lineStride, radius, line);
}
