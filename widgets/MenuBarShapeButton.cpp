#include "widgets/MenuBarShapeButton.h"

#include <cmath>
#include <limits>

namespace juce
{

MenuBarShapeButton::MenuBarShapeButton() : MenuBarButton ("MenuBarButton")
{
    shape.setUsingNonZeroWinding (true);
}

MenuBarShapeButton::~MenuBarShapeButton() = default;

bool MenuBarShapeButton::isEmptyIcon (const Path& path)
{
    for (Path::Iterator it (path); it.next();)
        if (it.elementType != Path::Iterator::startNewSubPath)
            return false;

    return true;
}

void MenuBarShapeButton::setShape (const Path& newShape)
{
    const auto hadIcon = ! isEmptyIcon (shape);
    const auto keptHeight = shape.getBounds().getHeight();

    shape.clear();
    shape.addPath (newShape);

    if (hadIcon)
        setContentHeight (keptHeight);
}

void MenuBarShapeButton::setContentHeight (float contentHeight)
{
    if (isEmptyIcon (shape))
        return;

    const auto margin = ((float) getHeight() - contentHeight) * 0.5f;
    shape.applyTransform (shape.getTransformToScaleToFit (margin, margin, (float) getWidth() - 2.0f * margin,
                                                          contentHeight, true, Justification::centred));
    repaint();
}

int MenuBarShapeButton::getContentWidthForHeight (float contentHeight)
{
    if (isEmptyIcon (shape))
        return 0;

    const auto bounds = shape.getBounds();

    if (bounds.getHeight() <= 0.0f)
        return 0;

    const auto width = (double) bounds.getWidth() * contentHeight / bounds.getHeight();

    if (! std::isfinite (width))
        return 0;

    return (int) jlimit ((double) std::numeric_limits<int>::min(), (double) std::numeric_limits<int>::max(), width);
}

void MenuBarShapeButton::resized()
{
    if (isEmptyIcon (shape))
        return;

    const auto bounds = shape.getBounds();
    const auto x = ((float) getWidth() - bounds.getWidth()) * 0.5f;
    const auto y = ((float) getHeight() - bounds.getHeight()) * 0.5f;
    shape.applyTransform (AffineTransform::translation (x - bounds.getX(), y - bounds.getY()));
    repaint();
}

void MenuBarShapeButton::paintButton (Graphics& g, bool /*shouldDrawButtonAsHighlighted*/,
                                      bool shouldDrawButtonAsDown)
{
    auto area = shape.getBounds();

    if (shouldDrawButtonAsDown)
    {
        const auto dx = pressShrink * area.getWidth();
        const auto dy = pressShrink * area.getHeight();
        area = { area.getX() + dx, area.getY() + dy,
                 jmax (0.0f, area.getWidth() - 2.0f * dx), jmax (0.0f, area.getHeight() - 2.0f * dy) };
    }

    g.setColour (getColourForCurrentState());
    g.fillPath (shape, shape.getTransformToScaleToFit (area, true));
}

} // namespace juce
