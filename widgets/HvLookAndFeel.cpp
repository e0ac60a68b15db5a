#include "widgets/HvLookAndFeel.h"

#include "widgets/HvSharedArt.h"
#include "widgets/StyleBoundTypeface.h"

namespace juce
{

namespace
{

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

/** The embedded face of the style, bound to the fonts of that style; one per process, shared
    by every look-and-feel. */
Typeface::Ptr latoFace (HvSharedArt::Face face, LatoStyle style)
{
    auto& art = HvSharedArt::get();
    return art.typeface (HvSharedArt::key ("latoBoundToStyle", (int) style), [&art, face, style]() -> Typeface::Ptr
    {
        return new StyleBoundTypeface (art.face (face), [style] (int flags) { return latoStyleFor (flags) == style; });
    });
}

} // namespace

HvLookAndFeel::HvLookAndFeel()
{
    setColour (PopupMenu::backgroundColourId, Colour (0xFF36383D));
    setColour (PopupMenu::highlightedBackgroundColourId, Colour (0xFF252629));
    setColour (TextButton::buttonColourId, Colour (0xFF252629));

    // One set of faces for the whole process, loaded once, however many look-and-feels there are.
    consoleFace = HvSharedArt::get().face (HvSharedArt::Face::console);
    latoRegular = latoFace (HvSharedArt::Face::latoRegular, LatoStyle::regular);
    latoBold = latoFace (HvSharedArt::Face::latoBold, LatoStyle::bold);
    latoItalic = latoFace (HvSharedArt::Face::latoItalic, LatoStyle::italic);
    latoBoldItalic = latoFace (HvSharedArt::Face::latoBoldItalic, LatoStyle::boldItalic);
}

HvLookAndFeel::~HvLookAndFeel()
{
    // Someone may have made this the default; the framework must not be left resolving fonts
    // through a destroyed look-and-feel, nor keep the faces it resolved through it. Only then
    // are the caches cleared: the faces themselves stay loaded for the process, and clearing
    // whenever an editor's look-and-feel goes would make every other open editor lay its
    // glyphs out again.
    const auto wasDefault = &LookAndFeel::getDefaultLookAndFeel() == this;

    if (wasDefault)
        LookAndFeel::setDefaultLookAndFeel (nullptr);

    consoleFace = nullptr;
    latoRegular = nullptr;
    latoBold = nullptr;
    latoItalic = nullptr;
    latoBoldItalic = nullptr;

    // Clears the framework's typeface cache and the software renderer's glyph cache.
    if (wasDefault)
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
