#pragma once

#include <juce_graphics/juce_graphics.h>

/** A drop shadow or glow around a path: the path's mask (filled, and stroked by the spread when
    there is one) softened by a stack blur and painted in one colour through it.

    Used for the display's red glow and for shadows of the knobs and buttons. Unlike
    juce::DropShadow it blurs with a stack blur (a triangular kernel, smoother than repeated box
    blurs) and can widen the mask by a spread. The blur is available on its own for any
    single-channel image. */
class StackBlurShadow
{
public:
    StackBlurShadow() = default;
    StackBlurShadow (juce::Colour colour, int radius, juce::Point<int> offset = {}, int spread = 0) noexcept;

    /** Paints the shadow of the path, moved by the offset, into the target. The area worked on is
        the path's bounds grown by radius + spread + 1 and limited to the target's clip grown by
        the same amount; nothing is drawn when that area is 2 pixels wide or high or less, so no
        empty image is ever made. */
    void drawForPath (juce::Graphics& target, const juce::Path& path) const;

    /** Blurs a single-channel image in place with a stack blur of the given radius (each pixel
        becomes the average of its (2 radius + 1)^2 neighbourhood weighted by a pyramid, the image
        edges repeated outwards). Radii below 1 and images of another format are left alone. */
    static void blurSingleChannel (juce::Image& image, int radius);

    juce::Colour colour { 0x90000000 };
    int radius = 4;
    juce::Point<int> offset;
    int spread = 0;
};
