#include "widgets/HvLookAndFeel.h"

#include "resources/fonts/EmbeddedFonts.h"

namespace juce
{

namespace
{

Typeface::Ptr loadEmbeddedFace (const char* data, int size)
{
    return Typeface::createSystemTypefaceFor (data, (size_t) size);
}

} // namespace

HvLookAndFeel::HvLookAndFeel()
{
    setColour (PopupMenu::backgroundColourId, Colour (0xFF36383D));
    setColour (PopupMenu::highlightedBackgroundColourId, Colour (0xFF252629));
    setColour (TextButton::buttonColourId, Colour (0xFF252629));

    consoleFace = loadEmbeddedFace (FontBinaryData::temp_binary_data_4, FontBinaryData::temp_binary_data_4Size);
    latoRegular = loadEmbeddedFace (FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size);
    latoBold = loadEmbeddedFace (FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size);
    latoItalic = loadEmbeddedFace (FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size);
    latoBoldItalic = loadEmbeddedFace (FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size);
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
    switch (font.getStyleFlags())
    {
        case Font::bold: return latoBold;
        case Font::italic: return latoItalic;
        case Font::bold | Font::italic: return latoBoldItalic;
        default: return latoRegular;
    }
}

} // namespace juce
