#include "widgets/PopupMenu_LAF.h"

namespace juce
{

namespace
{

const Colour itemTextColour { 0xFFB2B5BE };
const Colour inactiveItemTextColour { 0x80B2B5BE };
const Colour separatorColour { 0x4CB2B5BE };

} // namespace

PopupMenu_LAF::~PopupMenu_LAF() = default;

void PopupMenu_LAF::drawPopupMenuBackground (Graphics& g, int width, int height)
{
    g.setGradientFill (ColourGradient (Colour (0xFF373737), 0.0f, 0.0f,
                                       Colour (0xFF282828), 0.0f, (float) height, false));
    g.fillRect (0, 0, width, height);

    g.setColour (Colour (0x99000000));
    g.drawRect (Rectangle<float> (0.0f, 0.0f, (float) width, (float) height), 1.0f);
}

void PopupMenu_LAF::drawPopupMenuItem (Graphics& g, const Rectangle<int>& area, bool isSeparator, bool isActive,
                                       bool isHighlighted, bool isTicked, bool hasSubMenu, const String& text,
                                       const String& shortcutKeyText, const Drawable* icon, const Colour*)
{
    if (isSeparator)
    {
        auto r = area.reduced (5, 0);
        r.removeFromTop (roundToInt (((float) r.getHeight() * 0.5f) - 0.5f));

        g.setColour (separatorColour);
        g.fillRect (r.removeFromTop (1));
        return;
    }

    auto r = area.reduced (1);

    if (isHighlighted && isActive)
    {
        ColourGradient highlight (Colour (0xFF414141), 0.0f, 0.0f,
                                  Colour (0xFF1E1E1E), 0.0f, (float) r.getHeight(), false);
        highlight.addColour (0.5, Colour (0xFF282828));
        g.setGradientFill (highlight);
        g.fillRect (r);
        g.setColour (itemTextColour);
    }
    else
    {
        g.setColour (isActive ? itemTextColour : inactiveItemTextColour);
    }

    r.reduce (jmin (5, area.getWidth() / 20), 0);

    auto font = getPopupMenuFont();
    const auto maxFontHeight = (float) r.getHeight() / 1.3f;

    if (font.getHeight() > maxFontHeight)
        font.setHeight (maxFontHeight);

    g.setFont (font);

    const auto iconArea = r.removeFromLeft (roundToInt (maxFontHeight)).toFloat();

    if (icon != nullptr)
    {
        icon->drawWithin (g, iconArea, RectanglePlacement::centred | RectanglePlacement::onlyReduceInSize, 1.0f);
        r.removeFromLeft (roundToInt (maxFontHeight * 0.5f));
    }
    else if (isTicked)
    {
        const auto tick = getTickShape (1.0f);
        g.fillPath (tick, tick.getTransformToScaleToFit (iconArea.reduced (iconArea.getWidth() / 5, 0), true));
    }

    if (hasSubMenu)
    {
        const auto arrowH = 0.6f * getPopupMenuFont().getAscent();
        const auto x = (float) r.removeFromRight ((int) arrowH).getX();
        const auto halfH = (float) r.getCentreY();

        Path arrow;
        arrow.startNewSubPath (x, halfH - arrowH * 0.5f);
        arrow.lineTo (x + arrowH * 0.6f, halfH);
        arrow.lineTo (x, halfH + arrowH * 0.5f);
        g.strokePath (arrow, PathStrokeType (2.0f));
    }

    r.removeFromRight (3);
    g.drawFittedText (text, r, Justification::centredLeft, 1);

    if (shortcutKeyText.isNotEmpty())
    {
        auto shortcutFont = font;
        shortcutFont.setHeight (shortcutFont.getHeight() * 0.75f);
        shortcutFont.setHorizontalScale (0.95f);
        g.setFont (shortcutFont);
        g.drawText (shortcutKeyText, r, Justification::centredRight, true);
    }
}

void PopupMenu_LAF::drawPopupMenuSectionHeader (Graphics& g, const Rectangle<int>& area, const String& sectionName)
{
    g.setFont (Font (15.0f));
    g.setColour (itemTextColour);
    g.drawFittedText (sectionName,
                      area.getX() + 12, area.getY(), area.getWidth() - 16, (int) ((float) area.getHeight() * 0.8f),
                      Justification::bottomLeft, 1, 0.0f);
}

} // namespace juce
