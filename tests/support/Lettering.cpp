#include "support/Lettering.h"

#include "resources/fonts/EmbeddedFonts.h"

namespace testing_support
{

juce::Typeface::Ptr embeddedLatoFace (int styleFlags)
{
    const auto bold = (styleFlags & juce::Font::bold) != 0;
    const auto italic = (styleFlags & juce::Font::italic) != 0;

    if (bold && italic)
        return juce::Typeface::createSystemTypefaceFor (FontBinaryData::temp_binary_data_1, (size_t) FontBinaryData::temp_binary_data_1Size);
    if (bold)
        return juce::Typeface::createSystemTypefaceFor (FontBinaryData::temp_binary_data_0, (size_t) FontBinaryData::temp_binary_data_0Size);
    if (italic)
        return juce::Typeface::createSystemTypefaceFor (FontBinaryData::temp_binary_data_2, (size_t) FontBinaryData::temp_binary_data_2Size);
    return juce::Typeface::createSystemTypefaceFor (FontBinaryData::temp_binary_data_3, (size_t) FontBinaryData::temp_binary_data_3Size);
}

juce::Typeface::Ptr systemFaceFor (const juce::Font& font)
{
    return juce::Font::getDefaultTypefaceForFont (font);
}

juce::Font fontOn (const juce::Typeface::Ptr& face, float height)
{
    return juce::Font (face).withHeight (height);
}

int countDifferentPixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getBounds() != b.getBounds())
        return a.getWidth() * a.getHeight();

    int different = 0;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                ++different;
    return different;
}

int countPaintedPixels (const juce::Image& image)
{
    int painted = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getAlpha() != 0)
                ++painted;
    return painted;
}

} // namespace testing_support
