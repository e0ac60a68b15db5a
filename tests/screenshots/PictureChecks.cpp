#include "PictureChecks.h"

namespace screenshots
{

namespace
{

const juce::Colour menuBarColour { 0xff252629 };

juce::String describe (juce::Colour c)
{
    return "#" + c.toDisplayString (false);
}

juce::String describe (juce::Point<int> p)
{
    return "(" + juce::String (p.x) + ", " + juce::String (p.y) + ")";
}

bool near (juce::Colour a, juce::Colour b, int tolerance)
{
    return a.isOpaque() && std::abs (a.getRed() - b.getRed()) <= tolerance && std::abs (a.getGreen() - b.getGreen()) <= tolerance
        && std::abs (a.getBlue() - b.getBlue()) <= tolerance;
}

/** The mean brightness of a small square around a point of the editor: the faceplate's
    brushed texture varies from pixel to pixel. */
float brightnessAround (const ScreenPicture& picture, const EditorWindow& window, juce::Point<int> inEditor)
{
    const auto square = juce::Rectangle<int> (7, 7).withCentre (window.onScreen (inEditor));
    return brightnessOf (picture.averageColourIn (square));
}

bool isLitBlue (juce::Colour c)
{
    return c.getBlue() > 180 && c.getRed() < 80 && c.getBlue() - c.getGreen() > 50;
}

bool isLitRed (juce::Colour c)
{
    return c.getRed() > 180 && c.getGreen() < 90 && c.getBlue() < 90;
}

} // namespace

void pictureChecks::expectNotBlank (const ScreenPicture& picture, const EditorWindow& window, Findings& findings)
{
    const auto colours = picture.countDistinctColours();
    findings.expect (colours >= 256, "the picture has only " + juce::String (colours) + " colours: blank or nearly");

    const auto bar = picture.colourAt (window.onScreen (editorLayout::menuBarMiddle));
    findings.expect (near (bar, menuBarColour, 3), "the menu bar's middle is " + describe (bar) + ", not " + describe (menuBarColour));
}

void pictureChecks::expectStripAt (const ScreenPicture& picture, const EditorWindow& window, juce::Point<int> stripInEditor,
                                   const juce::String& stripName, Findings& findings)
{
    const auto upper = brightnessAround (picture, window, stripInEditor + editorLayout::upperPlate);
    const auto lower = brightnessAround (picture, window, stripInEditor + editorLayout::lowerPlate);
    const auto foot = brightnessAround (picture, window, stripInEditor + editorLayout::plateFoot);
    const auto where = stripName + " at " + describe (stripInEditor) + ": ";

    findings.expect (upper >= 12.0f && upper <= 110.0f,
                     where + "the upper plate is not dark grey (brightness " + juce::String (upper, 1) + ")");
    findings.expect (lower >= 110.0f, where + "the lower plate is not light (brightness " + juce::String (lower, 1) + ")");
    findings.expect (foot >= 110.0f, where + "the plate's foot is not light (brightness " + juce::String (foot, 1) + ")");
}

void pictureChecks::expectGreyedDarker (const ScreenPicture& picture, const EditorWindow& window, juce::Point<int> greyedStrip,
                                        juce::Point<int> brightStrip, Findings& findings)
{
    for (const auto point : { editorLayout::upperPlate, editorLayout::lowerPlate, editorLayout::plateFoot })
    {
        const auto greyed = brightnessAround (picture, window, greyedStrip + point);
        const auto bright = brightnessAround (picture, window, brightStrip + point);

        // The grey-out darkens clearly, and leaves the faceplate to be seen.
        findings.expect (greyed < 0.8f * bright && greyed > 0.3f * bright,
                         "at " + describe (point) + " of the strips the greyed one has brightness " + juce::String (greyed, 1)
                             + ", the selected one " + juce::String (bright, 1));
    }
}

void pictureChecks::expectUsbButtonLit (const ScreenPicture& picture, const EditorWindow& window, bool lit, Findings& findings)
{
    const auto shownLit = picture.anyPixelIn (window.onScreen (editorLayout::usbButtonArea), isLitBlue);
    findings.expect (shownLit == lit, lit ? "the USB button is not lit" : "the USB button is lit");
}

void pictureChecks::expectDisplayShowsAValue (const ScreenPicture& picture, const EditorWindow& window, Findings& findings)
{
    const auto display = window.onScreen (editorLayout::display + editorLayout::firstStrip);
    findings.expect (picture.anyPixelIn (display, isLitRed), "the value display shows no lit segment");
}

void pictureChecks::expectPopupOnScreen (const ScreenPicture& picture, juce::Rectangle<int> popup, juce::Rectangle<int> screenArea,
                                         int minimumHeight, const juce::String& popupName, Findings& findings)
{
    findings.expect (screenArea.contains (popup), "the " + popupName + " at " + popup.toString() + " is not whole on the screen "
                                                      + screenArea.toString());
    findings.expect (popup.getWidth() >= 40 && popup.getHeight() >= minimumHeight,
                     "the " + popupName + " is " + popup.toString() + ", expected at least 40 wide and "
                         + juce::String (minimumHeight) + " high");

    const auto background = picture.commonestColourIn (popup);
    findings.expect (background.isOpaque() && brightnessOf (background) < 80.0f,
                     "the " + popupName + "'s background is " + describe (background) + ", not dark");
}

void pictureChecks::expectSecondStripOut (const ScreenPicture& picture, const EditorWindow& window, int secondStripX,
                                         Findings& findings)
{
    // Along a row of the light lower plate, from the window's right end leftwards over its black
    // background: dark parts inside the strip (the value display) are never reached.
    const auto row = editorLayout::secondStrip.y + editorLayout::lowerPlate.y;
    auto edge = window.getWidth();

    while (edge > editorLayout::secondStrip.x
           && brightnessOf (picture.colourAt (window.onScreen (juce::Point<int> { edge - 1, row }))) < 8.0f)
        --edge;

    const auto shownOut = edge - editorLayout::secondStrip.x;
    findings.expect (std::abs (shownOut - secondStripX) <= 2,
                     "the second strip shows " + juce::String (shownOut) + " pixels out from under the first, its place says "
                         + juce::String (secondStripX));
}

} // namespace screenshots
