#pragma once

#include "ArtworkFonts.h"

#include <vector>

/** A check picture for whoever edits the artwork: the faceplate with stand-ins for what the
    controls draw on top of it (knob bodies, scales and lamps, switch lamps and lettering, the
    display's unlit segments, the window button's corner), placed by the controls' own layout
    formulas, optionally with every control's box outlined. Never shipped. */
class LayoutPreview
{
public:
    LayoutPreview (const ArtworkFonts& fonts, const juce::Image& faceplate);

    /** The strip at the given size in view pixels per view unit (1 = the view's own size). */
    juce::Image render (float scale, bool outlineControls) const;

    /** Both icons, enlarged, as the menu bar fits them into its 25-pixel buttons. */
    static juce::Image renderIcons (const juce::Path& menuIcon, const juce::Path& usbIcon, float zoom);

private:
    void drawKnob (juce::Graphics& g, juce::Rectangle<float> box, int orientation, const juce::String& name,
                   bool withScale, float value) const;
    void drawSwitch (juce::Graphics& g, juce::Rectangle<float> box, int numButtons, const juce::StringArray& labels,
                     const juce::String& name, int position, const std::vector<float>& nudges) const;
    void drawLowerRow (juce::Graphics& g) const;
    void drawDisplay (juce::Graphics& g) const;
    static void drawWindowCorner (juce::Graphics& g);
    static void drawLamp (juce::Graphics& g, juce::Point<float> centre, float diameter, juce::Colour colour);
    void drawLabel (juce::Graphics& g, const juce::String& text, juce::Point<float> centre, float fontHeight,
                    juce::Colour colour) const;
    static void outlineControls (juce::Graphics& g);

    const ArtworkFonts& fonts;
    juce::Image faceplate;
};
