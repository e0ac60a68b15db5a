#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>

namespace juce
{

/** Draws with another typeface, and is suitable only for the fonts whose style flags it was
    chosen for. The framework's typeface cache knows a face by the font's family and style name
    alone, and a bold underlined font's style name is "Bold", like a plain bold one's: before it
    hands out a cached face, the cache asks the face whether it suits the font, so that each of
    the two gets the face chosen for its own flags. */
class StyleBoundTypeface : public Typeface
{
public:
    using StyleTest = std::function<bool (int styleFlags)>;

    StyleBoundTypeface (Typeface::Ptr faceToDrawWith, StyleTest suitsStyleFlags);

    bool isSuitableForFont (const Font& font) const override;

    float getAscent() const override;
    float getDescent() const override;
    float getHeightToPointsFactor() const override;
    float getStringWidth (const String& text) override;
    void getGlyphPositions (const String& text, Array<int>& glyphs, Array<float>& xOffsets) override;
    bool getOutlineForGlyph (int glyphNumber, Path& path) override;
    EdgeTable* getEdgeTableForGlyph (int glyphNumber, const AffineTransform& transform, float fontHeight) override;
    bool isHinted() const override;

private:
    const Typeface::Ptr face;
    const StyleTest suits;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StyleBoundTypeface)
};

} // namespace juce
