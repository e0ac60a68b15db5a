#include <gtest/gtest.h>

#include "PanelArtwork.h"

#include <juce_graphics/juce_graphics.h>

// The menu bar's embedded icons load as paths whose proportions suit the buttons that draw
// them: the menu button fits its icon into a 17.5-pixel square in the middle of a 25-pixel
// button, the USB button fits its symbol into the whole 25-pixel button, both keeping the
// icon's proportions.

namespace
{

constexpr float buttonSize = 25.0f;

juce::Path loadIcon (const char* data, int size)
{
    juce::Path icon;
    icon.loadPathFromData (data, (size_t) size);
    return icon;
}

juce::Path menuIconInButton()
{
    auto icon = loadIcon (PanelArtwork::MenuIcon_path, PanelArtwork::MenuIcon_pathSize);
    const auto margin = (buttonSize - 0.7f * buttonSize) * 0.5f;
    icon.applyTransform (icon.getTransformToScaleToFit (juce::Rectangle<float> (buttonSize, buttonSize).reduced (margin), true));
    return icon;
}

juce::Path usbIconInButton()
{
    auto icon = loadIcon (PanelArtwork::UsbIcon_path, PanelArtwork::UsbIcon_pathSize);
    icon.applyTransform (icon.getTransformToScaleToFit (juce::Rectangle<float> (buttonSize, buttonSize), true));
    return icon;
}

} // namespace

TEST (MenuBarIcons, BothLoadAsFilledShapes)
{
    for (const auto& [name, icon] : { std::pair { "menu", loadIcon (PanelArtwork::MenuIcon_path, PanelArtwork::MenuIcon_pathSize) },
                                      std::pair { "USB", loadIcon (PanelArtwork::UsbIcon_path, PanelArtwork::UsbIcon_pathSize) } })
    {
        EXPECT_FALSE (icon.isEmpty()) << name;
        EXPECT_TRUE (icon.isUsingNonZeroWinding()) << name;
        EXPECT_GT (icon.getBounds().getWidth(), 0.0f) << name;
        EXPECT_GT (icon.getBounds().getHeight(), 0.0f) << name;
    }
}

TEST (MenuBarIcons, MenuIconStandsAboutSquareAtItsContentHeight)
{
    const auto bounds = menuIconInButton().getBounds();

    EXPECT_NEAR (bounds.getHeight(), 17.5f, 2.5f);
    EXPECT_NEAR (bounds.getWidth(), 17.5f, 2.5f);
    EXPECT_NEAR (bounds.getCentreY(), buttonSize * 0.5f, 0.01f);
}

TEST (MenuBarIcons, MenuIconShowsThreeSeparateBars)
{
    const auto icon = menuIconInButton();
    const auto bounds = icon.getBounds();

    auto bars = 0;
    auto inBar = false;
    for (auto y = bounds.getY() - 1.0f; y < bounds.getBottom() + 1.0f; y += 0.1f)
    {
        const auto filled = icon.contains (bounds.getCentreX(), y);
        if (filled && ! inBar)
            ++bars;
        inBar = filled;
    }

    EXPECT_EQ (bars, 3);
}

TEST (MenuBarIcons, UsbSymbolSpansTheButtonLyingOnItsSide)
{
    const auto bounds = usbIconInButton().getBounds();

    EXPECT_NEAR (bounds.getWidth(), buttonSize, 0.01f);
    EXPECT_GT (bounds.getHeight(), 0.3f * buttonSize);
    EXPECT_LT (bounds.getHeight(), 0.6f * buttonSize);
}

TEST (MenuBarIcons, UsbSymbolHasNoHolesWhereItsPartsOverlap)
{
    // Parts whose outlines ran opposite ways would cancel under non-zero winding where they
    // overlap: along its axis the plug end, the shaft, the branches' roots and the arrow
    // make one unbroken filled line.
    const auto icon = usbIconInButton();
    const auto bounds = icon.getBounds();

    for (auto x = bounds.getX() + 0.25f; x < bounds.getRight() - 0.5f; x += 0.25f)
        EXPECT_TRUE (icon.contains (x, bounds.getCentreY())) << "gap at x " << x;
}
