#pragma once

#include "core/ProductTable.h"
#include "editor/PanelGeometry.h"
#include "widgets/KnobDesign.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <functional>

/** Where the channel view puts its controls, in view coordinates of the 325 x 570 channel
    strip, as the strip's geometry gives them. The faceplate image is drawn at twice this size
    and stretched onto the view, so everything printed on it is placed from these boxes. */
namespace panel_layout
{

constexpr float viewWidth = (float) PanelGeometry::stripWidth;
constexpr float viewHeight = (float) PanelGeometry::stripHeight;
constexpr float imageScale = 2.0f;

/** A child's bounds at 325 x 570, as the strip lays it out. */
inline juce::Rectangle<float> boxOf (const PanelGeometry::ChildBox& child)
{
    return PanelGeometry::atStripSize (child).as<juce::Rectangle<float>>();
}

inline const juce::Rectangle<float> hiAttenKnob = boxOf (PanelGeometry::hiAttenKnob);
inline const juce::Rectangle<float> hiBoostKnob = boxOf (PanelGeometry::hiBoostKnob);
inline const juce::Rectangle<float> loAttenKnob = boxOf (PanelGeometry::loAttenKnob);
inline const juce::Rectangle<float> loBoostKnob = boxOf (PanelGeometry::loBoostKnob);
inline const juce::Rectangle<float> cpsSwitch = boxOf (PanelGeometry::cpsSwitch);
inline const juce::Rectangle<float> boostKcsSwitch = boxOf (PanelGeometry::boostKcsSwitch);
inline const juce::Rectangle<float> hiBwSwitch = boxOf (PanelGeometry::hiBwSwitch);
inline const juce::Rectangle<float> attenKcsSwitch = boxOf (PanelGeometry::attenKcsSwitch);
inline const juce::Rectangle<float> engageButton = boxOf (PanelGeometry::engageButton);
inline const juce::Rectangle<float> channelSelector = boxOf (PanelGeometry::channelSelector);
inline const juce::Rectangle<float> usbLamp = boxOf (PanelGeometry::usbLamp);
inline const juce::Rectangle<float> clipLamps = boxOf (PanelGeometry::clipLamps);
inline const juce::Rectangle<float> display = boxOf (PanelGeometry::display);
inline const juce::Rectangle<float> presetKnob = boxOf (PanelGeometry::presetKnob);
inline const juce::Rectangle<float> windowButton = PanelGeometry::windowButtonAtStripSize().as<juce::Rectangle<float>>();

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
    const auto scale = size / KnobDesign::designSize;
    const auto margin = (float) juce::jmax (1, juce::roundToInt (KnobDesign::bodyMargin * scale));
    const auto bodyRadius = std::round (size - 2.0f * margin) * 0.5f;
    return { box.getCentre(), bodyRadius, KnobDesign::markRadiusOutsideBody * scale + bodyRadius,
             KnobDesign::lampRadiusOutsideBody * scale + bodyRadius };
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

/** How the panel letters a control of the product. */
constexpr const char* panelNameOf (ProductTable::ControlIndex control) { return ProductTable::controls[(size_t) control].panelName; }

/** A switch's position labels. */
inline juce::StringArray positionLabelsOf (ProductTable::ControlIndex control)
{
    const auto& product = ProductTable::controls[(size_t) control];
    juce::StringArray labels;
    for (int i = 0; i < product.numLabels; ++i)
        labels.add (product.labels[(size_t) i]);
    return labels;
}

/** A step switch on the strip: its box, its cap buttons and its name, one line or two. */
struct SwitchOnPanel
{
    juce::Rectangle<float> box;
    int numButtons;
    const char* name;
};

inline const SwitchOnPanel switchesOnPanel[] {
    { cpsSwitch, 2, panelNameOf (ProductTable::loCps) },
    { boostKcsSwitch, 2, panelNameOf (ProductTable::hiKcsBoost) },
    { hiBwSwitch, 1, panelNameOf (ProductTable::hiBandwidth) },
    { attenKcsSwitch, 1, panelNameOf (ProductTable::hiKcsAtten) }
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
