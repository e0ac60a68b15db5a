#pragma once

#include "EditorWindow.h"
#include "Findings.h"
#include "ScreenPicture.h"
#include "editor/PanelGeometry.h"

namespace screenshots
{

/** Where the editor's parts are, in the editor's own coordinates, by the layout of the window
    (a 25-pixel menu bar over 325 x 570 strips) and of a strip. */
namespace editorLayout
{
    const juce::Point<int> firstStrip { 0, 25 }, secondStrip { 325, 25 };
    const juce::Point<int> menuBarMiddle { 160, 12 }, menuButton { 12, 12 }, usbButton { 307, 12 };
    const juce::Rectangle<int> usbButtonArea { 295, 0, 25, 25 };

    // In a strip: the first strip's window button, the middle of the HI BOOST knob, the value
    // display, and points of the faceplate away from every control (the dark upper plate
    // under the lettering, the light lower plate left of the display and at the foot).
    const juce::Point<int> windowButton = PanelGeometry::windowButtonAtStripSize().as<juce::Rectangle<int>>().getCentre();
    const juce::Point<int> hiBoostKnob = PanelGeometry::atStripSize (PanelGeometry::hiBoostKnob).as<juce::Rectangle<int>>().getCentre();
    const juce::Rectangle<int> display = PanelGeometry::atStripSize (PanelGeometry::display).as<juce::Rectangle<int>>();
    const juce::Point<int> upperPlate { 162, 48 }, lowerPlate { 60, 500 }, plateFoot { 162, 560 };
}

/** The checks of what a person would notice at once on a picture of the screen. Each adds
    what it finds wrong, naming the picture's part. */
namespace pictureChecks
{
    /** Many colours in the window, and the menu bar in its own colour. */
    void expectNotBlank (const ScreenPicture& picture, const EditorWindow& window, Findings& findings);

    /** A strip's faceplate at the place in the editor: its dark upper and light lower plate
        where the layout puts them. */
    void expectStripAt (const ScreenPicture& picture, const EditorWindow& window, juce::Point<int> stripInEditor,
                        const juce::String& stripName, Findings& findings);

    /** The first strip greyed out, the second bright, at the same points of their faceplates. */
    void expectGreyedDarker (const ScreenPicture& picture, const EditorWindow& window, juce::Point<int> greyedStrip,
                             juce::Point<int> brightStrip, Findings& findings);

    /** The menu bar's USB button in its lit blue, or not. */
    void expectUsbButtonLit (const ScreenPicture& picture, const EditorWindow& window, bool lit, Findings& findings);

    /** Lit red segments in the first strip's value display. */
    void expectDisplayShowsAValue (const ScreenPicture& picture, const EditorWindow& window, Findings& findings);

    /** A popup window, whole on the screen, its background dark, at least as high as given. */
    void expectPopupOnScreen (const ScreenPicture& picture, juce::Rectangle<int> popup, juce::Rectangle<int> screenArea,
                              int minimumHeight, const juce::String& popupName, Findings& findings);

    /** The second strip out from under the first as far as its place in the editor says: its
        right edge, where the window's black background begins, that far right of the first. */
    void expectSecondStripOut (const ScreenPicture& picture, const EditorWindow& window, int secondStripX, Findings& findings);
}

} // namespace screenshots
