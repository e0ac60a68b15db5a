#include "support/Lettering.h"
#include "support/Rendering.h"
#include "widgets/HvDefaultLookAndFeel.h"
#include "widgets/HvLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{

using juce::Font;

TEST (HvLookAndFeelTest, ResolvesEveryFontToALatoFaceByStyleAlone)
{
    struct Case { Font font; const char* style; };
    const Case cases[] {
        { Font (14.0f, Font::plain), "Regular" },
        { Font (14.0f, Font::bold), "Bold" },
        { Font (14.0f, Font::italic), "Italic" },
        { Font (14.0f, Font::bold | Font::italic), "Bold Italic" },
        { Font (14.0f, Font::underlined), "Regular" },
        { Font (14.0f, Font::bold | Font::underlined), "Regular" },
        { Font (14.0f, Font::italic | Font::underlined), "Regular" },
        { Font (14.0f, Font::bold | Font::italic | Font::underlined), "Regular" },
        { Font ("DejaVu Sans Mono", 14.0f, Font::plain), "Regular" }, // the family named is not consulted
        { Font ("Courier", 14.0f, Font::bold), "Bold" },
    };

    juce::HvLookAndFeel lookAndFeel;

    for (const auto& c : cases)
    {
        const auto face = lookAndFeel.getTypefaceForFont (c.font);
        ASSERT_NE (face, nullptr);
        EXPECT_EQ (face->getName(), "Lato") << c.font.toString();
        EXPECT_EQ (face->getStyle(), c.style) << c.font.toString();
    }
}

TEST (HvLookAndFeelTest, SetsThePopupAndTextButtonColours)
{
    const juce::HvLookAndFeel lookAndFeel;

    EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::backgroundColourId), juce::Colour (0xFF36383D));
    EXPECT_EQ (lookAndFeel.findColour (juce::PopupMenu::highlightedBackgroundColourId), juce::Colour (0xFF252629));
    EXPECT_EQ (lookAndFeel.findColour (juce::TextButton::buttonColourId), juce::Colour (0xFF252629));
}

/** Draws text through the framework's glyph path, past the cache of laid-out texts. */
void drawGlyphs (const Font& font, const juce::String& text)
{
    testing_support::renderDrawing (200, 40, [&] (juce::Graphics& g)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, text, 2.0f, 30.0f);
        g.setColour (juce::Colours::white);
        glyphs.draw (g);
    });
}

TEST (HvLookAndFeelTest, DestroyedWhileDefaultItLeavesNoPointerAndNoCachedFace)
{
    // The faces stay loaded for the process; what matters is that no typeface or glyph cache
    // keeps a reference of its own once the look-and-feel that resolved the face went.
    const auto regular = juce::HvLookAndFeel().getTypefaceForFont (Font (21.0f));
    const auto holdersBefore = regular->getReferenceCount();

    juce::Typeface::Ptr resolvedFace;
    {
        juce::HvLookAndFeel other; // two alive at once
        juce::HvLookAndFeel lookAndFeel;
        juce::LookAndFeel::setDefaultLookAndFeel (&lookAndFeel);
        juce::Typeface::clearTypefaceCache();

        resolvedFace = Font (21.0f).getTypefacePtr();
        ASSERT_EQ (resolvedFace, regular);
        drawGlyphs (Font (21.0f), "cached glyphs");
    }

    EXPECT_EQ (dynamic_cast<juce::HvLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()), nullptr);
    EXPECT_EQ (regular->getReferenceCount(), holdersBefore + 1) << "no typeface or glyph cache keeps the face";
    EXPECT_NE (Font (21.0f).getTypefacePtr()->getName(), "Lato");
}

// However many look-and-feels there are, the process holds one set of faces.
TEST (HvLookAndFeelTest, EveryLookAndFeelDrawsInTheOneSetOfFacesOfTheProcess)
{
    juce::HvLookAndFeel first, second;

    for (const auto style : { (int) Font::plain, (int) Font::bold, (int) Font::italic, (int) (Font::bold | Font::italic) })
    {
        const Font font (14.0f, style);
        EXPECT_EQ (first.getTypefaceForFont (font),
                   second.getTypefaceForFont (font)) << font.toString();
    }
}

TEST (HvLookAndFeelTest, BuiltUsedDestroyedAndBuiltAgainWhileAnotherIsAlive)
{
    auto first = std::make_unique<juce::HvLookAndFeel>();
    auto second = std::make_unique<juce::HvLookAndFeel>();

    juce::Label label ({}, "Twice built");
    label.setSize (120, 24);
    label.setLookAndFeel (first.get());
    testing_support::renderComponent (label);
    label.setLookAndFeel (second.get());
    first.reset();
    testing_support::renderComponent (label);

    first = std::make_unique<juce::HvLookAndFeel>();
    label.setLookAndFeel (first.get());
    second.reset();
    testing_support::renderComponent (label);
    label.setLookAndFeel (nullptr);

    EXPECT_EQ (first->getTypefaceForFont (Font (12.0f, Font::bold))->getStyle(), "Bold");
}

} // namespace
