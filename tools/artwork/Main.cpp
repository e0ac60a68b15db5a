// Draws the editor's artwork: the channel strip's faceplate (Faceplate.png, and the same
// scaled to the strip's own size as the strip scales it, Faceplate325x570.rgb, so that an
// editor shows it without decoding or scaling) and the menu bar's two icons (MenuIcon.path,
// UsbIcon.path, in JUCE's binary path format). The output is committed under
// resources/artwork; run this after changing the drawing code.
//
//   Eq713kArtworkGenerator <output folder> [--fonts <Lato folder>] [--preview <folder>]
//
// --fonts   where Lato-Regular/Bold/Black.ttf are (default: Debian's fonts-lato folder)
// --preview also writes check pictures there: the strip with stand-ins for the controls at
//           1x and 2x, the same with every control's box outlined, and the icons enlarged.

#include "ArtworkFonts.h"
#include "FaceplatePainter.h"
#include "LayoutPreview.h"
#include "MenuBarIcons.h"
#include "PanelLayout.h"

#include <juce_events/juce_events.h>

#include <iostream>

namespace
{

bool writePng (const juce::Image& image, const juce::File& file)
{
    juce::MemoryOutputStream png;
    juce::PNGImageFormat format;
    return format.writeImageToStream (image, png) && file.replaceWithData (png.getData(), png.getDataSize());
}

/** The picture scaled to the size with the framework's high-quality resampling, as the strip
    scales it, stored as opaque RGB rows from the top after a header of the width and the height
    (two little-endian 16-bit numbers). */
bool writeScaledRgb (const juce::Image& picture, int width, int height, const juce::File& file)
{
    juce::Image scaled (juce::Image::RGB, width, height, true);
    {
        juce::Graphics g (scaled);
        g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
        g.drawImage (picture, scaled.getBounds().toFloat(), juce::RectanglePlacement::stretchToFit);
    }

    juce::MemoryOutputStream data;
    data.writeShort ((short) width);
    data.writeShort ((short) height);

    const juce::Image::BitmapData pixels (scaled, juce::Image::BitmapData::readOnly);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const auto colour = pixels.getPixelColour (x, y);
            data.writeByte ((char) colour.getRed());
            data.writeByte ((char) colour.getGreen());
            data.writeByte ((char) colour.getBlue());
        }
    }

    return file.replaceWithData (data.getData(), data.getDataSize());
}

bool writePath (const juce::Path& path, const juce::File& file)
{
    juce::MemoryOutputStream data;
    path.writePathToStream (data);
    return file.replaceWithData (data.getData(), data.getDataSize());
}

juce::String optionValue (const juce::StringArray& args, const juce::String& option, const juce::String& fallback)
{
    const auto index = args.indexOf (option);
    return index >= 0 && index + 1 < args.size() ? args[index + 1] : fallback;
}

int fail (const juce::String& message)
{
    std::cerr << message << std::endl;
    return 1;
}

} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juce;

    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (argv[i]);

    if (args.isEmpty() || args[0].startsWith ("--"))
        return fail ("usage: Eq713kArtworkGenerator <output folder> [--fonts <Lato folder>] [--preview <folder>]");

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto output = cwd.getChildFile (args[0]);
    const auto fontFolder = cwd.getChildFile (optionValue (args, "--fonts", "/usr/share/fonts/truetype/lato"));
    const auto previewName = optionValue (args, "--preview", {});

    const ArtworkFonts fonts (fontFolder);
    if (! fonts.isComplete())
        return fail (fonts.describeMissing());

    if (! output.createDirectory())
        return fail ("cannot create " + output.getFullPathName());

    const FaceplatePainter painter (fonts);
    if (const auto overlaps = painter.labelsOnBoxes(); ! overlaps.isEmpty())
        return fail ("a name label overlaps a dark box of the faceplate:\n" + overlaps.joinIntoString ("\n"));

    const auto faceplate = painter.paint();
    const auto menuIcon = MenuBarIcons::menuIcon();
    const auto usbIcon = MenuBarIcons::usbIcon();

    if (! writePng (faceplate, output.getChildFile ("Faceplate.png"))
        || ! writeScaledRgb (faceplate, (int) panel_layout::viewWidth, (int) panel_layout::viewHeight,
                             output.getChildFile ("Faceplate325x570.rgb"))
        || ! writePath (menuIcon, output.getChildFile ("MenuIcon.path"))
        || ! writePath (usbIcon, output.getChildFile ("UsbIcon.path")))
        return fail ("cannot write into " + output.getFullPathName());

    if (previewName.isNotEmpty())
    {
        const auto previews = cwd.getChildFile (previewName);
        const LayoutPreview preview (fonts, faceplate);

        if (! previews.createDirectory()
            || ! writePng (preview.render (1.0f, false), previews.getChildFile ("FaceplatePreview1x.png"))
            || ! writePng (preview.render (2.0f, false), previews.getChildFile ("FaceplatePreview2x.png"))
            || ! writePng (preview.render (2.0f, true), previews.getChildFile ("FaceplateLayout2x.png"))
            || ! writePng (LayoutPreview::renderIcons (menuIcon, usbIcon, 8.0f), previews.getChildFile ("Icons8x.png")))
            return fail ("cannot write the previews into " + previews.getFullPathName());
    }

    return 0;
}
