#include "ArtworkFonts.h"

ArtworkFonts::ArtworkFonts (const juce::File& fontFolder)
    : folder (fontFolder),
      regularFace (load (fontFolder.getChildFile ("Lato-Regular.ttf"))),
      boldFace (load (fontFolder.getChildFile ("Lato-Bold.ttf"))),
      blackFace (load (fontFolder.getChildFile ("Lato-Black.ttf")))
{
}

juce::Typeface::Ptr ArtworkFonts::load (const juce::File& file)
{
    juce::MemoryBlock data;
    if (! file.loadFileAsData (data) || data.isEmpty())
        return nullptr;

    return juce::Typeface::createSystemTypefaceFor (data.getData(), data.getSize());
}

bool ArtworkFonts::isComplete() const
{
    return regularFace != nullptr && boldFace != nullptr && blackFace != nullptr;
}

juce::String ArtworkFonts::describeMissing() const
{
    return "Lato-Regular.ttf, Lato-Bold.ttf and Lato-Black.ttf are needed in "
         + folder.getFullPathName() + " (Debian package fonts-lato)";
}

juce::Font ArtworkFonts::regular (float height) const { return juce::Font (regularFace).withHeight (height); }
juce::Font ArtworkFonts::bold (float height) const    { return juce::Font (boldFace).withHeight (height); }
juce::Font ArtworkFonts::black (float height) const   { return juce::Font (blackFace).withHeight (height); }

juce::Path ArtworkFonts::textOutline (const juce::Font& font, const juce::String& text, float tracking)
{
    juce::GlyphArrangement glyphs;
    glyphs.addLineOfText (font.withExtraKerningFactor (tracking), text, 0.0f, 0.0f);

    juce::Path outline;
    glyphs.createPath (outline);
    return outline;
}
