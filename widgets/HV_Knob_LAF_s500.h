#pragma once

#include "widgets/HV_Knob_LAF.h"

/** The 500-series knob look: a smaller body, a scale of upright texts and dots round it, and
    outside the scale a ring of amber lamps of which the two around the knob's value light up,
    cross-fading as the value moves from one to the next. It places the knob's click areas
    over the marks and the lamps it paints.
*/
class HV_Knob_LAF_s500 : public HV_Knob_LAF
{
public:
    HV_Knob_LAF_s500() = default;

    void setLafBounds (const int& size, HV_Knob& knob) override;

    /** The lamp ring and the two lit lamps around the value. */
    void drawRullerDecorator (juce::Graphics& g, int x, int y, int width, int height, float sliderPosProportional,
                              float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;

    /** The scale: one text, or a dot for ".", per scale label; a knob without scale labels has
        no scale. */
    void prepareKnobRuller (HV_Knob& knob) override;

    /** The ring of unlit lamps, one per scale lamp, and the lit lamp; a knob without scale
        lamps has no ring. */
    void prepareKnobRullerDecorator (HV_Knob& knob) override;

protected:
    /** The ring of unlit lamps. */
    juce::Image fixedDecoratorLayer() const override;

    juce::Image rullerDecoratorImage, litLampImage;
    /** The value distance between two lamps, as a proportion of the range. */
    float lampStep = 10.0f;
    /** Distance of the lamp centres from the knob's centre. */
    float lampRadius = 14.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Knob_LAF_s500)
};
