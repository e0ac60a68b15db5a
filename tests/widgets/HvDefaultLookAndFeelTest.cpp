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
