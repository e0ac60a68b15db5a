#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <functional>

/** Where the channel view puts its controls, in view coordinates of the 325 x 570 channel
    strip. The faceplate image is drawn at twice this size and stretched onto the view, so
    everything printed on it is placed from these boxes. */
namespace panel_layout
{

constexpr float viewWidth = 325.0f;
constexpr float viewHeight = 570.0f;
constexpr float imageScale = 2.0f;

// The children's bounds at 325 x 570 (the editor computes them from fractions of its size).
inline const juce::Rectangle<float> hiAttenKnob { 10, 66, 136, 136 };
inline const juce::Rectangle<float> hiBoostKnob { 179, 66, 136, 136 };
inline const juce::Rectangle<float> loAttenKnob { 10, 274, 136, 136 };
inline const juce::Rectangle<float> loBoostKnob { 179, 274, 136, 136 };
inline const juce::Rectangle<float> cpsSwitch { 21, 193, 72, 72 };
inline const juce::Rectangle<float> boostKcsSwitch { 98, 193, 84, 72 };
inline const juce::Rectangle<float> hiBwSwitch { 195, 193, 54, 72 };
inline const juce::Rectangle<float> attenKcsSwitch { 261, 193, 49, 72 };
inline const juce::Rectangle<float> engageButton { 12, 398, 62, 49 };
inline const juce::Rectangle<float> channelSelector { 148, 395, 146, 49 };
inline const juce::Rectangle<float> usbLamp { 120, 395, 28, 49 };
inline const juce::Rectangle<float> clipLamps { 205, 395, 36, 49 };
inline const juce::Rectangle<float> display { 120, 450, 103, 64 };
inline const juce::Rectangle<float> presetKnob { 205, 416, 136, 136 };
inline const juce::Rectangle<float> windowButton { 289, 0, 36, 36 };

/** The band along the top that no control uses: room for the wordmark. */
inline const juce::Rectangle<float> nameBand { 0, 0, 285, 62 };

/** The dark upper part ends here; below it the plate is light, for black lettering. */
constexpr float lightPlateTop = 395.0f;

/** Knob geometry that the knob's look-and-feel derives from its size (a 75-pixel design). */
struct KnobGeometry
{
    juce::Point<float> centre;
    float bodyRadius;   // the turning body
    float scaleRadius;  // centres of the scale texts
    float lampRadius;   // centres of the scale lamps
};

inline KnobGeometry knobGeometry (juce::Rectangle<float> box)
{
    const auto size = box.getWidth();
    const auto scale = size / 75.0f;
    const auto margin = (float) juce::jmax (1, juce::roundToInt (20.0f * scale));
    const auto bodyRadius = std::round (size - 2.0f * margin) * 0.5f;
    return { box.getCentre(), bodyRadius, 8.2f * scale + bodyRadius, 14.7f * scale + bodyRadius };
}

/** The cap buttons of a step switch sit along its bottom edge (one centred, or two side by
    side), each a square of 19.5 / 37.5 of the switch's height. */
inline juce::Array<juce::Rectangle<float>> switchButtons (juce::Rectangle<float> box, int numButtons)
{
    const auto scale = box.getHeight() / 37.5f;
    const auto edge = (float) juce::roundToInt (19.5f * scale);
    const auto w = (int) box.getWidth();
    const auto h = (int) box.getHeight();
    const auto centreY = (float) (h - (int) edge / 2);
    juce::Array<juce::Rectangle<float>> buttons;

    if (numButtons == 1)
    {
        buttons.add (juce::Rectangle<float> (edge, edge).withCentre ({ (float) (w / 2), centreY }));
    }
    else
    {
        const auto gap = juce::roundToInt (18.5f * scale);
        buttons.add (juce::Rectangle<float> (edge, edge).withCentre ({ (float) ((w - gap) / 2), centreY }));
        buttons.add (juce::Rectangle<float> (edge, edge).withCentre ({ (float) ((w + gap) / 2), centreY }));
    }

    for (auto& b : buttons)
        b = b.translated (box.getX(), box.getY());

    return buttons;
}

/** A step switch on the strip: its box, its cap buttons and its name, one line or two. */
struct SwitchOnPanel
{
    juce::Rectangle<float> box;
    int numButtons;
    const char* name;
};

inline const SwitchOnPanel switchesOnPanel[] {
    { cpsSwitch, 2, "CPS" }, { boostKcsSwitch, 2, "BOOST KCS" }, { hiBwSwitch, 1, "HI BW" }, { attenKcsSwitch, 1, "ATTEN\nKCS" }
};

/** The width of a line of text in the bold lettering at a font height. */
using TextWidth = std::function<float (const juce::String& text, float fontHeight)>;

/** The name labels of a step switch, as the switch lays them out: each line 6 / 37.5 of the
    switch's height tall and 1.25 times its text wide, centred across the switch; one line
    11 / 37.5 below the top, or two lines 5.8 / 37.5 apart, the first 9.4 / 37.5 below it. */
inline juce::Array<juce::Rectangle<float>> switchNameLabels (juce::Rectangle<float> box, const juce::String& name,
                                                             const TextWidth& textWidth)
{
    const auto scale = box.getHeight() / 37.5f;
    const auto height = juce::roundToInt (6.0f * scale);
    const auto centreX = (int) box.getX() + (int) box.getWidth() / 2;
    const auto top = (int) box.getY();
    const auto lines = juce::StringArray::fromLines (name);

    auto label = [&] (const juce::String& text, float fontHeight, int centreY)
    {
        const auto width = (int) std::ceil (1.25f * textWidth (text, fontHeight));
        return juce::Rectangle<int> (width, height).withCentre ({ centreX, centreY }).toFloat();
    };

    juce::Array<juce::Rectangle<float>> labels;

    if (lines.size() == 1)
    {
        labels.add (label (lines[0], 0.95f * (float) height, top + height / 2 + juce::roundToInt (11.0f * scale)));
    }
    else
    {
        const auto firstY = top + juce::roundToInt (9.4f * scale) + height / 2;
        labels.add (label (lines[0], 0.95f * (float) height, firstY));
        labels.add (label (lines[1], 0.9f * (float) height, firstY + juce::roundToInt (5.8f * scale)));
    }

    return labels;
}

/** The name label under a knob, as the knob lays it out (orientation 0: right-aligned, 1:
    left-aligned, 2: centred across the knob). */
inline juce::Rectangle<float> knobNameLabel (juce::Rectangle<float> box, int orientation, const juce::String& name)
{
    const auto scale = box.getWidth() / 75.0f;
    const auto h = 6.5f * scale;
    const auto margin = (float) juce::roundToInt (12.0f * scale);
    const auto top = box.getY() + (float) juce::roundToInt (56.0f * scale);
    const auto height = (float) juce::roundToInt (1.2f * h);
    const auto width = (float) juce::roundToInt ((float) name.length() * h);

    if (orientation == 0)
        return { box.getRight() - margin - width, top, width, height };

    if (orientation == 1)
        return { box.getX() + margin, top, width, height };

    return { box.getX(), top, box.getWidth(), height };
}

/** The dark well sunk behind a switch's caps: round them, 2 units wide, but starting below
    any name label that stands over the caps. */
inline juce::Rectangle<float> switchWell (juce::Rectangle<float> box, int numButtons,
                                          const juce::Array<juce::Rectangle<float>>& nameLabels)
{
    const auto caps = switchButtons (box, numButtons);
    auto well = caps.getFirst();
    for (auto cap : caps)
        well = well.getUnion (cap);

    well = well.expanded (2.0f);

    for (auto label : nameLabels)
        if (label.intersects (well))
            well = well.withTop (label.getBottom() + 1.0f);

    return well;
}

/** The display's black bezel, sunk into the light plate. */
inline juce::Rectangle<float> displayBezel() { return display.expanded (3.5f); }

} // namespace panel_layout
