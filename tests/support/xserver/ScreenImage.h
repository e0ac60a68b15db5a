#pragma once

#include "support/xserver/XServerProbe.h"

#include <juce_graphics/juce_graphics.h>

namespace testing_support
{

/** What the X server's screen shows in the area, as an image; invalid when it cannot be read.
    Inline, so that programs with their own copy of JUCE can use it as well. */
inline juce::Image imageOfScreen (const XServerProbe& screen, juce::Rectangle<int> area)
{
    if (area.isEmpty())
        return {};

    const auto pixels = screen.grab (area.getX(), area.getY(), area.getWidth(), area.getHeight());

    if (pixels.size() != (size_t) area.getWidth() * (size_t) area.getHeight())
        return {};

    juce::Image image (juce::Image::RGB, area.getWidth(), area.getHeight(), false);
    juce::Image::BitmapData bitmap (image, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
            bitmap.setPixelColour (x, y, juce::Colour (pixels[(size_t) (y * area.getWidth() + x)]));

    return image;
}

} // namespace testing_support
