#pragma once

#include <juce_graphics/juce_graphics.h>

/** The Lato faces the artwork is lettered in, loaded from their font files by path, so that
    the generated images never depend on the fonts installed on the machine. */
class ArtworkFonts
{
public:
    /** Loads Lato-Regular, Lato-Bold and Lato-Black from the folder; check isComplete(). */
    explicit ArtworkFonts (const juce::File& folder);

    bool isComplete() const;
    juce::String describeMissing() const;

    juce::Font regular (float height) const;
    juce::Font bold (float height) const;
    juce::Font black (float height) const;

    /** The outline of a line of text with its baseline on y = 0, starting at x = 0; tracking
        adds that fraction of the font's height between letters. */
    static juce::Path textOutline (const juce::Font& font, const juce::String& text, float tracking = 0.0f);

private:
    static juce::Typeface::Ptr load (const juce::File& file);

    juce::File folder;
    juce::Typeface::Ptr regularFace, boldFace, blackFace;
};
