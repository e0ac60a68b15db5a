#pragma once

#include "widgets/HV_Button.h"

/** The round 500-series cap button: a brushed cap with a chamfer ring and randomised highlight
    bands, a drop shadow and a thin dark halo, all rendered at layout time for its size (the
    design size is 75 pixels). Pressed, the cap shrinks by 2 % and its shadow moves up.
    Clicking toggles its state.

    A button of 2 pixels or less has no room for a cap and draws nothing.
*/
class HV_Button_s500 : public HV_Button
{
public:
    HV_Button_s500();

    void prepareButtonImage() override;

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    juce::Image shadowImage, haloImage, capImage;
    float scale = 1.0f;
    /** The cap's inset from the button's edge. */
    float margin = 10.0f;
    float capDiameter = 55.0f;
    float pressOffset = 1.0f;

private:
    void renderCap (float chamfer);
    void renderShadow();
    void renderHalo();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Button_s500)
};
