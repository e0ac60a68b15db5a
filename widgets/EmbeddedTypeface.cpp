#include "widgets/EmbeddedTypeface.h"

#if JUCE_LINUX || JUCE_BSD

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <mutex>

namespace
{

/** FreeType objects are not safe to use from two threads at once. */
std::mutex& freeTypeMutex()
{
    static std::mutex mutex;
    return mutex;
}

class FreeTypeMemoryTypeface : public juce::CustomTypeface
{
public:
    FreeTypeMemoryTypeface (FT_Library libraryToOwn, FT_Face faceToOwn) : library (libraryToOwn), face (faceToOwn)
    {
        const auto height = (float) (face->ascender - face->descender);
        setCharacteristics (face->family_name, face->style_name, (float) face->ascender / height, L' ');
    }

    ~FreeTypeMemoryTypeface() override
    {
        const std::lock_guard<std::mutex> lock (freeTypeMutex());
        FT_Done_Face (face);
        FT_Done_FreeType (library);
    }

    bool loadGlyphIfPossible (juce::juce_wchar character) override
    {
        const std::lock_guard<std::mutex> lock (freeTypeMutex());
        const auto glyphIndex = FT_Get_Char_Index (face, (FT_ULong) character);

        if (FT_Load_Glyph (face, glyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_IGNORE_TRANSFORM | FT_LOAD_NO_HINTING) != 0
            || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return false;

        const auto scale = 1.0f / (float) (face->ascender - face->descender);
        juce::Path shape;

        if (! outlineToPath (face->glyph->outline, scale, shape))
            return false;

        addGlyph (character, shape, (float) face->glyph->metrics.horiAdvance * scale);

        if ((face->face_flags & FT_FACE_FLAG_KERNING) != 0)
            addKerningOf (character, glyphIndex);

        return true;
    }

private:
    /** The outline in units of the face's height, y upwards turned downwards; on-curve points
        joined by lines, conic control points by quadratics (two conic points in a row imply an
        on-curve point halfway), cubic pairs by cubics. */
    static bool outlineToPath (const FT_Outline& outline, float scaleX, juce::Path& path)
    {
        const auto scaleY = -scaleX;
        const auto point = [&] (int i) { return juce::Point<float> (scaleX * (float) outline.points[i].x, scaleY * (float) outline.points[i].y); };
        const auto tag = [&] (int i) { return FT_CURVE_TAG (outline.tags[i]); };

        for (int c = 0; c < outline.n_contours; ++c)
        {
            const int first = c == 0 ? 0 : outline.contours[c - 1] + 1;
            const int last = outline.contours[c];

            for (int p = first; p <= last; ++p)
            {
                const auto here = point (p);

                if (p == first)
                {
                    if (tag (p) == FT_CURVE_TAG_CONIC)
                    {
                        auto start = point (last);

                        if (tag (last) != FT_CURVE_TAG_ON)
                            start = (here + start) * 0.5f;

                        path.startNewSubPath (start);
                    }
                    else
                    {
                        path.startNewSubPath (here);
                    }
                }

                if (tag (p) == FT_CURVE_TAG_ON)
                {
                    if (p != first)
                        path.lineTo (here);
                }
                else if (tag (p) == FT_CURVE_TAG_CONIC)
                {
                    const auto next = p == last ? first : p + 1;
                    auto end = point (next);

                    if (tag (next) == FT_CURVE_TAG_CONIC)
                        end = (here + end) * 0.5f;
                    else
                        ++p;

                    path.quadraticTo (here, end);
                }
                else if (tag (p) == FT_CURVE_TAG_CUBIC)
                {
                    const auto second = p + 1;
                    const auto end = p == last - 1 ? first : p + 2;

                    if (p >= last || tag (second) != FT_CURVE_TAG_CUBIC || tag (end) != FT_CURVE_TAG_ON)
                        return false;

                    path.cubicTo (here, point (second), point (end));
                    p += 2;
                }
            }

            path.closeSubPath();
        }

        return true;
    }

    void addKerningOf (juce::juce_wchar character, FT_UInt glyphIndex)
    {
        const auto height = (float) (face->ascender - face->descender);
        FT_UInt rightGlyphIndex = 0;
        auto rightCharacter = FT_Get_First_Char (face, &rightGlyphIndex);

        while (rightGlyphIndex != 0)
        {
            FT_Vector kerning;

            if (FT_Get_Kerning (face, glyphIndex, rightGlyphIndex, FT_KERNING_UNSCALED, &kerning) == 0 && kerning.x != 0)
                addKerningPair (character, (juce::juce_wchar) rightCharacter, (float) kerning.x / height);

            rightCharacter = FT_Get_Next_Char (face, rightCharacter, &rightGlyphIndex);
        }
    }

    FT_Library library;
    FT_Face face;

    JUCE_DECLARE_NON_COPYABLE (FreeTypeMemoryTypeface)
};

} // namespace

juce::Typeface::Ptr EmbeddedTypeface::create (const void* data, size_t size)
{
    const std::lock_guard<std::mutex> lock (freeTypeMutex());
    FT_Library library = nullptr;

    if (data == nullptr || size == 0 || FT_Init_FreeType (&library) != 0)
        return nullptr;

    FT_Face face = nullptr;

    if (FT_New_Memory_Face (library, static_cast<const FT_Byte*> (data), (FT_Long) size, 0, &face) != 0
        || face->ascender - face->descender == 0)
    {
        if (face != nullptr)
            FT_Done_Face (face);

        FT_Done_FreeType (library);
        return nullptr;
    }

    return new FreeTypeMemoryTypeface (library, face);
}

#else

juce::Typeface::Ptr EmbeddedTypeface::create (const void* data, size_t size)
{
    return data != nullptr && size > 0 ? juce::Typeface::createSystemTypefaceFor (data, size) : nullptr;
}

#endif
