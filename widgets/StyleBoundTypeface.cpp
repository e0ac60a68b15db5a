#include "widgets/StyleBoundTypeface.h"

#include <utility>

namespace juce
{

StyleBoundTypeface::StyleBoundTypeface (Typeface::Ptr faceToDrawWith, StyleTest suitsStyleFlags)
    : Typeface (faceToDrawWith->getName(), faceToDrawWith->getStyle()),
      face (std::move (faceToDrawWith)),
      suits (std::move (suitsStyleFlags))
{
}

bool StyleBoundTypeface::isSuitableForFont (const Font& font) const
{
    return suits (font.getStyleFlags());
}

float StyleBoundTypeface::getAscent() const                   { return face->getAscent(); }
float StyleBoundTypeface::getDescent() const                  { return face->getDescent(); }
float StyleBoundTypeface::getHeightToPointsFactor() const     { return face->getHeightToPointsFactor(); }
float StyleBoundTypeface::getStringWidth (const String& text) { return face->getStringWidth (text); }
bool StyleBoundTypeface::isHinted() const                     { return face->isHinted(); }

void StyleBoundTypeface::getGlyphPositions (const String& text, Array<int>& glyphs, Array<float>& xOffsets)
{
    face->getGlyphPositions (text, glyphs, xOffsets);
}

bool StyleBoundTypeface::getOutlineForGlyph (int glyphNumber, Path& path)
{
    return face->getOutlineForGlyph (glyphNumber, path);
}

EdgeTable* StyleBoundTypeface::getEdgeTableForGlyph (int glyphNumber, const AffineTransform& transform, float fontHeight)
{
    return face->getEdgeTableForGlyph (glyphNumber, transform, fontHeight);
}

} // namespace juce
