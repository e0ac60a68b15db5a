#pragma once

#include <juce_core/juce_core.h>

/** Where a channel strip puts its children, in proportion to the strip's size: the one place of
    the panel's proportions. The strip lays its children out from it, the artwork generator prints
    the faceplate around the boxes it gives at the strip's own size, and the tests read it.

    Plain data and arithmetic, no drawing: each length is a fraction of the strip's width or of
    its height, and each product is rounded to whole pixels with halves to even. */
namespace PanelGeometry
{

/** The strip's own size, which the faceplate artwork is drawn for. */
constexpr int stripWidth = 325;
constexpr int stripHeight = 570;

/** A length as a fraction of the strip's width or of its height. */
struct Fraction
{
    float value;
    bool ofHeight;
};

constexpr Fraction ofWidth (float fraction) { return { fraction, false }; }
constexpr Fraction ofHeight (float fraction) { return { fraction, true }; }

/** A child's box: each edge a fraction of the width or the height. */
struct ChildBox
{
    Fraction x, y, width, height;
};

// The knobs' rows follow the width, not the height.
constexpr auto knobSize = ofWidth (0.42f);
constexpr ChildBox hiAttenKnob { ofWidth (0.03f), ofWidth (0.204f), knobSize, knobSize };
constexpr ChildBox hiBoostKnob { ofWidth (0.55f), ofWidth (0.204f), knobSize, knobSize };
constexpr ChildBox loAttenKnob { ofWidth (0.03f), ofWidth (0.844f), knobSize, knobSize };
constexpr ChildBox loBoostKnob { ofWidth (0.55f), ofWidth (0.844f), knobSize, knobSize };

constexpr auto switchRow = ofHeight (0.339f);
constexpr auto switchHeight = ofWidth (0.22f);
constexpr ChildBox cpsSwitch { ofWidth (0.064f), switchRow, ofWidth (0.22f), switchHeight };
constexpr ChildBox boostKcsSwitch { ofWidth (0.3f), switchRow, ofWidth (0.26f), switchHeight };
constexpr ChildBox hiBwSwitch { ofWidth (0.6f), switchRow, ofWidth (0.166f), switchHeight };
constexpr ChildBox attenKcsSwitch { ofWidth (0.802f), switchRow, ofWidth (0.15f), switchHeight };

constexpr auto lampRow = ofHeight (0.693f);
constexpr auto lampRowHeight = ofWidth (0.15f);
constexpr ChildBox engageButton { ofWidth (0.037f), ofHeight (0.698f), ofWidth (0.19f), lampRowHeight };
constexpr ChildBox channelSelector { ofWidth (0.456f), lampRow, ofWidth (0.45f), lampRowHeight };
constexpr ChildBox usbLamp { ofWidth (0.37f), lampRow, ofWidth (0.085f), lampRowHeight };
constexpr ChildBox clipLamps { ofWidth (0.63f), lampRow, ofWidth (0.11f), lampRowHeight };

constexpr ChildBox display { ofWidth (0.368f), ofHeight (0.79f), ofWidth (0.318f), ofWidth (0.198f) };
constexpr ChildBox presetKnob { ofWidth (0.63f), ofHeight (0.73f), knobSize, knobSize };

/** The window button is a square in the top right corner, its edge 110 / 1000 of the width. */
constexpr float windowButtonPerMille = 110.0f;

/** A box in whole pixels. */
struct PixelBox
{
    int x, y, width, height;

    template <typename Rectangle>
    Rectangle as() const
    {
        using Value = decltype (Rectangle().getX());
        return { (Value) x, (Value) y, (Value) width, (Value) height };
    }
};

/** The fraction of the strip's size in whole pixels, halves to even. */
inline int pixels (Fraction length, float width, float height)
{
    return juce::roundToInt (length.value * (length.ofHeight ? height : width));
}

inline PixelBox boundsIn (const ChildBox& box, int width, int height)
{
    const auto w = (float) width;
    const auto h = (float) height;
    return { pixels (box.x, w, h), pixels (box.y, w, h), pixels (box.width, w, h), pixels (box.height, w, h) };
}

inline PixelBox windowButtonIn (int width)
{
    const auto edge = juce::roundToInt (windowButtonPerMille * (float) width / 1000.0f);
    return { width - edge, 0, edge, edge };
}

/** The boxes at the strip's own size. */
inline PixelBox atStripSize (const ChildBox& box) { return boundsIn (box, stripWidth, stripHeight); }
inline PixelBox windowButtonAtStripSize() { return windowButtonIn (stripWidth); }

} // namespace PanelGeometry
