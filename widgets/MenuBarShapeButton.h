#pragma once

#include "widgets/MenuBarButton.h"

namespace juce
{

/** A menu-bar button that fills a vector icon in its state's colour, and draws it slightly
    smaller about its centre while pressed.

    The icon path is stored where it is drawn: setContentHeight and resized move and scale the
    stored path itself.
*/
class MenuBarShapeButton : public MenuBarButton
{
public:
    MenuBarShapeButton();
    ~MenuBarShapeButton() override;

    /** Replaces the icon. The first icon is kept at its own coordinates until setContentHeight;
        a later one takes the height of the icon it replaces. */
    void setShape (const Path& newShape);

    void setContentHeight (float contentHeight) override;

    /** 0 for an empty icon or one without height, else the icon's width scaled to that height,
        truncated. */
    int getContentWidthForHeight (float contentHeight) override;

    /** The icon as it is placed in the button. */
    const Path& getShape() const noexcept { return shape; }

    /** An icon is empty when it holds nothing but move-to elements. */
    static bool isEmptyIcon (const Path& path);

    void resized() override;

protected:
    void paintButton (Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    /** The fraction of the icon's width and height taken off each side while it is drawn down. */
    const float pressShrink = 0.04f;
    Path shape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarShapeButton)
};

} // namespace juce
