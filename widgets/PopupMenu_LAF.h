#pragma once

#include "widgets/HvLookAndFeel.h"

namespace juce
{

/** The dark popup menus of the menu bar: a grey gradient background with a dark outline, items
    in fixed colours with a gradient under the highlighted one, thin separators and section
    headers. Fonts are resolved like those of HvLookAndFeel. */
class PopupMenu_LAF : public HvLookAndFeel
{
public:
    PopupMenu_LAF() = default;
    ~PopupMenu_LAF() override;

    void drawPopupMenuBackground (Graphics& g, int width, int height) override;

    /** The item layout of LookAndFeel_V4 (tick or icon column, sub-menu arrow, text, shortcut)
        in fixed colours; the text colour argument and the popup text colour ids are not used. */
    void drawPopupMenuItem (Graphics& g, const Rectangle<int>& area, bool isSeparator, bool isActive,
                            bool isHighlighted, bool isTicked, bool hasSubMenu, const String& text,
                            const String& shortcutKeyText, const Drawable* icon,
                            const Colour* textColour) override;

    void drawPopupMenuSectionHeader (Graphics& g, const Rectangle<int>& area, const String& sectionName) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PopupMenu_LAF)
};

} // namespace juce
