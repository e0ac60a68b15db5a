#include "support/Lettering.h"
#include "support/Rendering.h"
#include "widgets/HvDefaultLookAndFeel.h"

#include <gtest/gtest.h>

namespace
{

using juce::Font;
using LetteringPointer = juce::SharedResourcePointer<juce::HvDefaultLookAndFeel>;

bool defaultIsHv()
{
    return dynamic_cast<juce::HvLookAndFeel*> (&juce::LookAndFeel::getDefaultLookAndFeel()) != nullptr;
}

juce::String faceNameOf (const Font& font)
{
    return font.getTypefacePtr()->getName();
}

/** A panel with one label, painted the way a window paints its children. */
juce::Image renderLabelInPanel (const juce::String& text, const Font& font)
{
    juce::Component panel;
    juce::Label label ({}, text);
    label.setFont (font);
    panel.addAndMakeVisible (label);
    panel.setSize (320, 40);
    label.setBounds (panel.getLocalBounds());
    return testing_support::renderComponent (panel);
}

// Each text is drawn nowhere else in the process, so no laid-out text from an earlier drawing in
// another face can be reused.
TEST (HvDefaultLookAndFeelTest, LabelsAreDrawnInTheEmbeddedLatoFaces)
{
    LetteringPointer lettering;

    struct Case { int style; const char* text; };
    const Case cases[] {
        { Font::plain, "Quartz glyph jumps 1.5 dB" },
        { Font::bold, "BOLD Quartz gain 18 kHz" },
        { Font::italic, "italic quartz wave -3" },
        { Font::bold | Font::italic, "bold italic quartz 220 Hz" },
    };

    for (const auto& c : cases)
    {
        const auto asDrawn = renderLabelInPanel (c.text, Font (16.0f, c.style));
        const auto inLato = renderLabelInPanel (c.text, testing_support::fontOn (testing_support::embeddedLatoFace (c.style), 16.0f));
        const auto inSystemFace = renderLabelInPanel (c.text, testing_support::fontOn (testing_support::systemFaceFor (Font (16.0f, c.style)), 16.0f));

        ASSERT_GT (testing_support::countPaintedPixels (asDrawn), 100) << c.text;
        EXPECT_EQ (testing_support::countDifferentPixels (asDrawn, inLato), 0) << c.text;

        if (testing_support::systemFaceFor (Font (16.0f, c.style))->getName() != "Lato")
        {
            EXPECT_GT (testing_support::countDifferentPixels (asDrawn, inSystemFace), 100) << c.text;
        }
    }
}

/** A font on the embedded Lato face of the style (bold and italic flags), underlined if asked. */
Font embeddedLato (int latoStyle, bool underlined)
{
    auto font = testing_support::fontOn (testing_support::embeddedLatoFace (latoStyle), 16.0f);
    font.setUnderline (underlined);
    return font;
}

// The framework's typeface cache files a font under its family and style name, and bold
// underlined is named "Bold" like plain bold: whichever of the two is drawn first must not
// hand its face to the other.
TEST (HvDefaultLookAndFeelTest, EachStyleIsDrawnInItsOwnLatoFaceWhicheverStyleWasDrawnBefore)
{
    LetteringPointer lettering;

    // The face of the style drawn before is the one the cache would wrongly hand out.
    struct Case { int drawnBefore; int latoStyleBefore; int style; int latoStyle; const char* text; };
    const Case cases[] {
        { Font::bold, Font::bold, Font::bold | Font::underlined, Font::plain, "Bold then underlined 18 kHz" },
        { Font::italic, Font::italic, Font::italic | Font::underlined, Font::plain, "Italic then underlined 220 Hz" },
        { Font::bold | Font::italic, Font::bold | Font::italic, Font::bold | Font::italic | Font::underlined, Font::plain, "Both then underlined -3 dB" },
        { Font::bold | Font::underlined, Font::plain, Font::bold, Font::bold, "Underlined then bold 47 cps" },
        { Font::italic | Font::underlined, Font::plain, Font::italic, Font::italic, "Underlined then italic 1.5 kcs" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        renderLabelInPanel (juce::String ("before: ") + c.text, Font (16.0f, c.drawnBefore));

        const auto underlined = (c.style & Font::underlined) != 0;
        const auto asDrawn = renderLabelInPanel (c.text, Font (16.0f, c.style));
        const auto inItsFace = renderLabelInPanel (c.text, embeddedLato (c.latoStyle, underlined));
        const auto inTheFaceBefore = renderLabelInPanel (c.text, embeddedLato (c.latoStyleBefore, underlined));

        ASSERT_GT (testing_support::countPaintedPixels (asDrawn), 100);
        EXPECT_EQ (testing_support::countDifferentPixels (asDrawn, inItsFace), 0);
        EXPECT_GT (testing_support::countDifferentPixels (asDrawn, inTheFaceBefore), 100);
    }
}

TEST (HvDefaultLookAndFeelTest, HoldersShareOneDefaultAndTheLastRestoresTheFrameworks)
{
    ASSERT_FALSE (defaultIsHv());

    auto first = std::make_unique<LetteringPointer>();
    auto second = std::make_unique<LetteringPointer>(); // a second editor opened
    EXPECT_EQ (&(*first)->getLookAndFeel(), &(*second)->getLookAndFeel());
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &(*first)->getLookAndFeel());

    first.reset(); // the first editor closed before the second
    EXPECT_TRUE (defaultIsHv());
    EXPECT_EQ (faceNameOf (Font (13.0f, Font::bold)), "Lato");
    renderLabelInPanel ("second editor still open", Font (13.0f));

    second.reset();
    EXPECT_FALSE (defaultIsHv());
    EXPECT_NE (faceNameOf (Font (13.0f, Font::bold)), "Lato") << "the typeface cache was cleared";

    // Opened again, and two at once once more.
    LetteringPointer again;
    {
        LetteringPointer alongside;
        EXPECT_EQ (faceNameOf (Font (13.0f, Font::bold)), "Lato");
    }
    EXPECT_TRUE (defaultIsHv());
}

TEST (HvDefaultLookAndFeelTest, LeavesADefaultThatSomeoneElseInstalledInPlace)
{
    juce::LookAndFeel_V4 othersDefault;
    {
        LetteringPointer lettering;
        juce::LookAndFeel::setDefaultLookAndFeel (&othersDefault);
    }
    EXPECT_EQ (&juce::LookAndFeel::getDefaultLookAndFeel(), &othersDefault);
    juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
}

} // namespace
