#pragma once

#include "widgets/SliderDescLabel.h"
#include "widgets/SliderRulerDiode.h"
#include "widgets/SliderRulerLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

class HV_Knob_LAF;

/** A rotary knob: a slider drawn entirely by a look-and-feel of its own, round to the mouse,
    with satellites that live beside it in its parent: a name label and one invisible click area
    per scale mark and per scale lamp, which the look-and-feel places over what it paints.

    Owners construct it, add it to its parent, define it (defineSliderPrms; a knob that gets a
    parent undefined defines itself with a 0..1 scale) and then give it its bounds, which lay
    it out for the larger of its width and height. A press on a click area moves the knob to
    the area's value; the knob also listens to the areas, so hovering and dragging them acts
    on it as on the knob itself.

    Message thread only.
*/
class HV_Knob : public juce::Slider
{
public:
    HV_Knob();
    ~HV_Knob() override;

    void mouseEnter (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;
    /** Does nothing: a reset by modifier-click still works through the slider. */
    void mouseDoubleClick (const juce::MouseEvent& event) override;
    /** Defines the knob with defaults if nobody has, and brings the satellites into the new
        parent. */
    void parentHierarchyChanged() override;
    /** Hits strictly inside the circle inscribed in the knob's width. */
    bool hitTest (int x, int y) override;
    /** Does nothing: the knob keeps no text box or buttons to refresh. */
    void lookAndFeelChanged() override;
    /** Lays the knob out for the larger of its width and height; below 2 pixels it keeps what
        it has. */
    void resized() override;

    /** Renders the look-and-feel's images for the size and places the satellites; x and y are
        the knob's position in its parent. */
    virtual void setSliderBounds (const int& x, const int& y, const int& size) = 0;

    /** Applies the transform to the knob and to every satellite. */
    virtual void setSliderAffineTransform (const juce::AffineTransform& transform);

    /** Sets the name, the range and, given two or more labels, the scale marks. */
    virtual void defineSliderPrms (const juce::String& name, const juce::StringArray& labels,
                                   const float& minValue, const float& maxValue, const float& interval,
                                   const float& defaultValue, const float& spare) = 0;

    /** The knob's own look-and-feel, which draws it. */
    HV_Knob_LAF* getKnobLaf() const noexcept { return knobLaf.get(); }

    juce::OwnedArray<SliderRulerDiode>& getScaleLamps() noexcept { return scaleLamps; }
    juce::OwnedArray<SliderRulerLabel>& getScaleLabels() noexcept { return scaleLabels; }
    SliderDescLabel& getNameLabel() noexcept { return nameLabel; }

    /** Copied into the look-and-feel when the knob creates it; owners clear both for a knob
        without a pointer. */
    bool drawPointer = true;
    /** The radius of the scale marks, written by the look-and-feel at every layout. */
    float rulerRadius = 10.0f;

    /** Never called by the knob itself; subclasses call it on a double-click. */
    std::function<void()> onKnobDoubleClick;
    /** Called when the pointer enters or leaves the knob or one of its scale click areas. */
    std::function<void()> onKnobMouseEnter;
    std::function<void()> onKnobMouseExit;

protected:
    /** Makes the look-and-feel the knob's own. */
    void setKnobLaf (std::unique_ptr<HV_Knob_LAF> laf);

    /** Deletes the scale click areas, ending any gesture a press on one of them left open. */
    void clearScaleClickAreas();

    /** Adds a scale mark and its lamp for the value, both listened to by the knob. */
    void addScaleMark (const juce::String& text, double value);

    /** When the knob has a parent, adds the name label, the scale marks and the lamps to it,
        on top and visible; those that are there already stay where they are. */
    void showSatellitesInParent();

    /** Lays the knob out again when it already has a layout. */
    void layOutAgain();

    SliderDescLabel nameLabel;
    juce::OwnedArray<SliderRulerDiode> scaleLamps;
    juce::OwnedArray<SliderRulerLabel> scaleLabels;
    std::unique_ptr<HV_Knob_LAF> knobLaf;
    bool prmsDefined = false;

private:
    /** Ends the slider's own drag that a press on a click area started through the knob's
        listening, for an area that goes before its release. */
    void endDragStartedThroughArea();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Knob)
};
