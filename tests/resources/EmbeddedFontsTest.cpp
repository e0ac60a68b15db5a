#include "resources/fonts/EmbeddedFonts.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

namespace
{

juce::Typeface::Ptr load (const char* data, int size)
{
    return juce::Typeface::createSystemTypefaceFor (data, (size_t) size);
}

TEST (EmbeddedFontsTest, EachResourceIndexHoldsItsFace)
{
    struct Case { const char* data; int size; const char* family; const char* style; };
    const Case cases[] {
        { FontBinaryData::temp_binary_data_0, FontBinaryData::temp_binary_data_0Size, "Lato", "Bold" },
        { FontBinaryData::temp_binary_data_1, FontBinaryData::temp_binary_data_1Size, "Lato", "Bold Italic" },
        { FontBinaryData::temp_binary_data_2, FontBinaryData::temp_binary_data_2Size, "Lato", "Italic" },
        { FontBinaryData::temp_binary_data_3, FontBinaryData::temp_binary_data_3Size, "Lato", "Regular" },
    };

    for (const auto& c : cases)
    {
        const auto face = load (c.data, c.size);
        ASSERT_NE (face, nullptr) << c.family << " " << c.style;
        EXPECT_EQ (face->getName(), c.family);
        EXPECT_EQ (face->getStyle(), c.style);
    }
}

TEST (EmbeddedFontsTest, TheConsoleFaceIsMonospaced)
{
    const auto face = load (FontBinaryData::temp_binary_data_4, FontBinaryData::temp_binary_data_4Size);
    ASSERT_NE (face, nullptr);

    const auto width = [&face] (const char* text) { return face->getStringWidth (juce::String (text)); };
    EXPECT_GT (width ("i"), 0.0f);
    EXPECT_FLOAT_EQ (width ("i"), width ("W"));
    EXPECT_FLOAT_EQ (width ("1.5"), width ("MWM"));
}

} // namespace
