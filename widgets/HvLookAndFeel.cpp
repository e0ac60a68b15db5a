#include "widgets/HvLookAndFeel.h"

#include "widgets/HvSharedArt.h"

namespace juce
{

HvLookAndFeel::HvLookAndFeel()
{
    setColour (PopupMenu::backgroundColourId, Colour (0xFF36383D));
    setColour (PopupMenu::highlightedBackgroundColourId, Colour (0xFF252629));
    setColour (TextButton::buttonColourId, Colour (0xFF252629));

    // One set of faces for the whole process, loaded once, however many look-and-feels there are.
    auto& art = HvSharedArt::get();
    consoleFace = art.face (HvSharedArt::Face::console);
    latoRegular = art.face (HvSharedArt::Face::latoRegular);
    latoBold = art.face (HvSharedArt::Face::latoBold);
    latoItalic = art.face (HvSharedArt::Face::latoItalic);
    latoBoldItalic = art.face (HvSharedArt::Face::latoBoldItalic);
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
    switch (font.getStyleFlags())
    {
        case Font::bold: return latoBold;
        case Font::italic: return latoItalic;
        case Font::bold | Font::italic: return latoBoldItalic;
        default: return latoRegular;
    }
}

} // namespace juce
