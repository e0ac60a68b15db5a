#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Helpers for tests that check which typeface a text was really drawn in. */
namespace testing_support
{

/** A new typeface loaded from the embedded Lato file of the style (bold and italic flags). */
juce::Typeface::Ptr embeddedLatoFace (int styleFlags);

/** The machine's own face for the font, as the framework picks it without a look-and-feel. */
juce::Typeface::Ptr systemFaceFor (const juce::Font& font);

/** A font of the given height on an explicit typeface. */
juce::Font fontOn (const juce::Typeface::Ptr& face, float height);

/** The number of pixels that differ between two images of the same size (all pixels when the
    sizes differ). */
int countDifferentPixels (const juce::Image& a, const juce::Image& b);

/** The number of pixels that are not fully transparent. */
int countPaintedPixels (const juce::Image& image);

} // namespace testing_support
