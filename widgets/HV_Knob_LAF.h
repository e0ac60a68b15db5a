#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class HV_Knob;

/** Draws a knob of the kit: a drop shadow, the body with its bevel, brushing and grain, a
    black pointer bar and a band overlay that turns with the knob, more slowly than the pointer
    and at a rate and direction of its own.

    Every texture is rendered into a cached image when the knob is laid out (setLafBounds);
    drawRotarySlider only composes them. The design size is 75 pixels. Images that come out
    smaller than a pixel at tiny sizes are left out. One object per knob; message thread only.
*/
class HV_Knob_LAF : public juce::LookAndFeel_V4
{
public:
    HV_Knob_LAF();
    ~HV_Knob_LAF() override;

    /** Composes the cached images for the knob at its current position. The position and size
        given are not used: the knob's own origin is. */
    void drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    /** Recomputes the geometry for the size, renders every image again and places the knob's
        scale click areas. */
    virtual void setLafBounds (const int& size, HV_Knob& knob);

    /** Draws whatever lies between the scale and the body; nothing here. */
    virtual void drawRullerDecorator (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                                      float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider);

    /** Renders the scale and places the knob's lamp click areas by it. */
    virtual void prepareKnobRuller (HV_Knob& knob);
    /** Renders what lies between the scale and the body; nothing here. */
    virtual void prepareKnobRullerDecorator (HV_Knob& knob);
    virtual void prepareKnobShadow();
    virtual void prepareKnobImage();

    /** Draw the pointer bar; the knob copies its own flag here. */
    bool drawPointer = true;

protected:
    /** Lays out for the size with the given margin round the body and bevel width, then
        renders the images. */
    void layOut (int newSize, float newMargin, float newChamfer, HV_Knob& knob);
    void composeFixedLayers();

    /** What the decorator draws that never changes with the value, when the store names it
        (rullerDecoratorKey): composed with the fixed layers. None here. */
    virtual juce::Image fixedDecoratorLayer() const;

    bool rullerVisible = true;
    bool rullerDecoratorVisible = true;
    /** size / 75 */
    float scale = 1.0f;
    int size = 75;
    /** The knob's centre in its own coordinates. */
    float halfSize = 37.5f;
    float knobDiameter = 55.0f;
    float knobRadius = 27.5f;
    /** Space between the component's edge and the body. */
    float margin = 10.0f;
    /** Width of the body's bevel ring. */
    float chamfer = 1.5f;

    juce::Image rullerImage, shadowImage, conicalImage, knobImage;
    /** The names in the shared store of the scale, the lamp ring and the shadow (empty for an
        image of this knob's own), and the three composed into one image when all that are shown
        have names: painted in one go. */
    juce::String rullerKey, rullerDecoratorKey, shadowKey;
    juce::Image fixedLayersImage;
    /** The pointer bar, pointing to 12 o'clock about the origin. */
    juce::Path pointerPath;
    /** How many times more slowly than the pointer the band overlay turns; negative turns it
        the same way as the pointer. */
    float brushAngleDivisor;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Knob_LAF)
};
