#include "widgets/HvLookAndFeel.h"

#include "resources/fonts/EmbeddedFonts.h"
#include "widgets/StyleBoundTypeface.h"

namespace juce
{

namespace
{

Typeface::Ptr loadEmbeddedFace (const char* data, int size)
{
    return Typeface::createSystemTypefaceFor (data, (size_t) size);
}

enum class LatoStyle { regular, bold, italic, boldItalic };

LatoStyle latoStyleFor (int styleFlags)
{
    switch (styleFlags)
    {
        case Font::bold: return LatoStyle::bold;
        case Font::italic: return LatoStyle::italic;
        case Font::bold | Font::italic: return LatoStyle::boldItalic;
        default: return LatoStyle::regular;
    }
}

Typeface::Ptr loadLatoFace (const char* data, int size, LatoStyle style)
{
    return new StyleBoundTypeface (loadEmbeddedFace (data, size), [style] (int flags) { return latoStyleFor (flags) == style; });
}

} // namespace

HvLookAndFeel::HvLookAndFeel()
{
    setColour (PopupMenu::backgroundColourId, Colour (0xFF36383D));
    setColour (PopupMenu::highlightedBackgroundColourId, Colour (0xFF252629));
    setColour (TextButton::buttonColourId, Colour (0xFF252629));

    consoleFace = loadEmbeddedFace (FontBinaryData::temp_binary_data_4, FontBinaryData::temp_binary_data_4Size);
    latoRegular = loadLatoFace (FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size, LatoStyle::regular);
    latoBold = loadLatoFace (FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size, LatoStyle::bold);
    latoItalic = loadLatoFace (FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size, LatoStyle::italic);
    latoBoldItalic = loadLatoFace (FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size, LatoStyle::boldItalic);
}

HvLookAndFeel::~HvLookAndFeel()
{
    // Someone may have made this the default; the framework must not be left resolving fonts
    // through a destroyed look-and-feel.
    if (&LookAndFeel::getDefaultLookAndFeel() == this)
        LookAndFeel::setDefaultLookAndFeel (nullptr);

    consoleFace = nullptr;
    latoRegular = nullptr;
    latoBold = nullptr;
    latoItalic = nullptr;
    latoBoldItalic = nullptr;

    // Clears the framework's typeface cache and the software renderer's glyph cache.
    Typeface::clearTypefaceCache();
}

Typeface::Ptr HvLookAndFeel::getTypefaceForFont (const Font& font)
{
    switch (latoStyleFor (font.getStyleFlags()))
    {
        case LatoStyle::bold: return latoBold;
        case LatoStyle::italic: return latoItalic;
        case LatoStyle::boldItalic: return latoBoldItalic;
        case LatoStyle::regular: break;
    }

    return latoRegular;
}

} // namespace juce
