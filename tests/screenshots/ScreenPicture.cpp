#include "ScreenPicture.h"

#include "support/xserver/ScreenImage.h"

#include <map>
#include <set>

namespace screenshots
{

const juce::Colour ScreenPicture::emptyScreen { 0xff808080 };

ScreenPicture::ScreenPicture (juce::Image picture, juce::Rectangle<int> onScreen)
    : image (std::move (picture)), area (onScreen)
{
}

ScreenPicture ScreenPicture::take (const XServerProbe& screen, juce::Rectangle<int> area)
{
    auto image = testing_support::imageOfScreen (screen, area);
    return image.isValid() ? ScreenPicture (image, area) : ScreenPicture();
}

ScreenPicture ScreenPicture::takeAround (const XServerProbe& screen, const std::vector<juce::Rectangle<int>>& windows)
{
    juce::Rectangle<int> around;
    juce::RectangleList<int> covered;

    for (const auto& w : windows)
    {
        around = around.isEmpty() ? w : around.getUnion (w);
        covered.add (w);
    }

    auto picture = take (screen, around);

    if (! picture.isValid())
        return picture;

    juce::RectangleList<int> empty (around);
    empty.subtract (covered);

    juce::Graphics g (picture.image);
    g.setColour (emptyScreen);

    for (const auto& r : empty)
        g.fillRect (r - around.getPosition());

    return picture;
}

juce::Colour ScreenPicture::colourAt (juce::Point<int> onScreen) const
{
    if (! area.contains (onScreen))
        return {};

    return image.getPixelAt (onScreen.x - area.getX(), onScreen.y - area.getY());
}

juce::Colour ScreenPicture::averageColourIn (juce::Rectangle<int> onScreen) const
{
    const auto inside = onScreen.getIntersection (area);

    if (inside.isEmpty())
        return {};

    double red = 0, green = 0, blue = 0;

    for (int y = inside.getY(); y < inside.getBottom(); ++y)
    {
        for (int x = inside.getX(); x < inside.getRight(); ++x)
        {
            const auto c = colourAt ({ x, y });
            red += c.getRed();
            green += c.getGreen();
            blue += c.getBlue();
        }
    }

    const auto n = (double) inside.getWidth() * inside.getHeight();
    return juce::Colour ((juce::uint8) juce::roundToInt (red / n), (juce::uint8) juce::roundToInt (green / n),
                         (juce::uint8) juce::roundToInt (blue / n));
}

juce::Colour ScreenPicture::commonestColourIn (juce::Rectangle<int> onScreen) const
{
    const auto inside = onScreen.getIntersection (area);
    std::map<juce::uint32, int> counts;

    for (int y = inside.getY(); y < inside.getBottom(); ++y)
    {
        for (int x = inside.getX(); x < inside.getRight(); ++x)
        {
            const auto c = colourAt ({ x, y });
            const auto bucket = juce::Colour ((juce::uint8) (c.getRed() & 0xf0), (juce::uint8) (c.getGreen() & 0xf0),
                                              (juce::uint8) (c.getBlue() & 0xf0));
            ++counts[bucket.getARGB()];
        }
    }

    juce::uint32 commonest = 0;
    int most = 0;

    for (const auto& [colour, count] : counts)
    {
        if (count > most)
        {
            most = count;
            commonest = colour;
        }
    }

    return most > 0 ? juce::Colour (commonest) : juce::Colour();
}

bool ScreenPicture::anyPixelIn (juce::Rectangle<int> onScreen, const std::function<bool (juce::Colour)>& wanted) const
{
    const auto inside = onScreen.getIntersection (area);

    for (int y = inside.getY(); y < inside.getBottom(); ++y)
        for (int x = inside.getX(); x < inside.getRight(); ++x)
            if (wanted (colourAt ({ x, y })))
                return true;

    return false;
}

int ScreenPicture::countDistinctColours() const
{
    std::set<juce::uint32> seen;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            seen.insert (image.getPixelAt (x, y).getARGB());

    return (int) seen.size();
}

float ScreenPicture::shareOfPixelsDifferentFrom (const ScreenPicture& other, juce::Rectangle<int> onScreen) const
{
    const auto inside = onScreen.getIntersection (area).getIntersection (other.area);

    if (inside.isEmpty())
        return 0.0f;

    const auto differs = [] (juce::Colour a, juce::Colour b)
    {
        return std::abs (a.getRed() - b.getRed()) > 12 || std::abs (a.getGreen() - b.getGreen()) > 12
            || std::abs (a.getBlue() - b.getBlue()) > 12;
    };

    int different = 0;

    for (int y = inside.getY(); y < inside.getBottom(); ++y)
        for (int x = inside.getX(); x < inside.getRight(); ++x)
            if (differs (colourAt ({ x, y }), other.colourAt ({ x, y })))
                ++different;

    return (float) different / (float) (inside.getWidth() * inside.getHeight());
}

bool ScreenPicture::saveAsPng (const juce::File& file) const
{
    if (! image.isValid())
        return false;

    file.getParentDirectory().createDirectory();
    file.deleteFile();

    juce::FileOutputStream out (file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream (image, out);
}

float brightnessOf (juce::Colour colour)
{
    return 0.299f * colour.getRed() + 0.587f * colour.getGreen() + 0.114f * colour.getBlue();
}

} // namespace screenshots
