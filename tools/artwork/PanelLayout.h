#pragma once

#include <juce_graphics/juce_graphics.h>

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

} // namespace panel_layout
