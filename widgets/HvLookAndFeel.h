#pragma once

#include "widgets/MainMenuColours.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{

/** The look-and-feel of the editor window: the panel's own typefaces, loaded from the embedded
    font files, three colours for popup menus and text buttons, and the menu-bar palette.

    Every font resolved through it is drawn in one of the four Lato faces, chosen by the font's
    style alone (the family a font names is not consulted). The framework resolves the typeface
    of every font through its default look-and-feel only, so the lettering of the whole panel is
    Lato only while an HvLookAndFeel is the default: see HvDefaultLookAndFeel. */
class HvLookAndFeel : public LookAndFeel_V4
{
public:
    HvLookAndFeel();

    /** Makes sure the framework is no longer pointing at this look-and-feel as its default;
        if it was, clears the typeface and glyph caches, so that nothing goes on drawing in the
        faces resolved through it. The faces are shared by every look-and-feel of the process
        and stay loaded (see HvSharedArt). */
    ~HvLookAndFeel() override;

    /** Lato Bold for bold fonts, Lato Italic for italic ones, Lato Bold Italic for both, and Lato
        Regular for every other style (underlined ones included). Each face suits only the
        styles it is handed out for, so the framework's typeface cache, which files bold
        underlined under "Bold", asks here again instead of reusing the plain bold face. */
    Typeface::Ptr getTypefaceForFont (const Font& font) override;

    MainMenuColours mainMenuColours;

private:
    Typeface::Ptr consoleFace; // loaded and held, never drawn
    Typeface::Ptr latoRegular;
    Typeface::Ptr latoBold;
    Typeface::Ptr latoItalic;
    Typeface::Ptr latoBoldItalic;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvLookAndFeel)
};

} // namespace juce
