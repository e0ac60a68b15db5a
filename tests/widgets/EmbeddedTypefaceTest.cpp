#include "resources/fonts/EmbeddedFonts.h"
#include "widgets/EmbeddedTypeface.h"

#include <gtest/gtest.h>

namespace
{

struct FontFile
{
    const char* what;
    const char* data;
    int size;
    const char* style;
};

const FontFile fontFiles[] {
    { "Lato Regular", FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size, "Regular" },
    { "Lato Bold", FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size, "Bold" },
    { "Lato Italic", FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size, "Italic" },
    { "Lato Bold Italic", FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size, "Bold Italic" },
};

// Texts of every printable ASCII character, and pairs the faces kern.
const char* const texts[] {
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
    "AVAWATToYoLT 18 kHz -3.5 dB",
};

} // namespace

// The panel's faces are read without the framework's loader (which scans the machine's font
// folders first); they must give exactly the glyphs, advances and kerning the framework's own
// FreeType typeface gives for the same data.
TEST (EmbeddedTypeface, ReadsTheSameGlyphsMetricsAndKerningAsTheFrameworksLoader)
{
    for (const auto& file : fontFiles)
    {
        SCOPED_TRACE (file.what);
        const auto ours = EmbeddedTypeface::create (file.data, (size_t) file.size);
        const auto framework = juce::Typeface::createSystemTypefaceFor (file.data, (size_t) file.size);
        ASSERT_NE (ours, nullptr);
        ASSERT_NE (framework, nullptr);

        EXPECT_EQ (ours->getName(), "Lato");
        EXPECT_EQ (ours->getStyle(), file.style);
        EXPECT_EQ (ours->getAscent(), framework->getAscent());
        EXPECT_EQ (ours->getDescent(), framework->getDescent());

        for (const auto* text : texts)
        {
            juce::Array<int> ourGlyphs, frameworkGlyphs;
            juce::Array<float> ourOffsets, frameworkOffsets;
            ours->getGlyphPositions (text, ourGlyphs, ourOffsets);
            framework->getGlyphPositions (text, frameworkGlyphs, frameworkOffsets);

            ASSERT_EQ (ourGlyphs, frameworkGlyphs) << text;
            EXPECT_EQ (ourOffsets, frameworkOffsets) << text;

            for (const auto glyph : ourGlyphs)
            {
                juce::Path ourShape, frameworkShape;
                EXPECT_EQ (ours->getOutlineForGlyph (glyph, ourShape), framework->getOutlineForGlyph (glyph, frameworkShape));
                EXPECT_TRUE (ourShape == frameworkShape) << "glyph " << glyph;
            }
        }
    }
}

TEST (EmbeddedTypeface, DataThatHoldsNoFaceGivesNone)
{
    const char notAFont[] = "not a font file at all";
    EXPECT_EQ (EmbeddedTypeface::create (notAFont, sizeof (notAFont)), nullptr);
    EXPECT_EQ (EmbeddedTypeface::create (nullptr, 0), nullptr);
}
