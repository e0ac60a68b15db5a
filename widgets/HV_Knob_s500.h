#pragma once

#include "widgets/HV_Knob.h"

/** The 500-series knob: dragged up and down (256 pixels for the full range), turning over a
    148.5 degree arc, drawn with the 500-series look (scale texts and a ring of lamps), its name
    label under the knob. The design size is 75 pixels; everything scales with the size.
*/
class HV_Knob_s500 : public HV_Knob
{
public:
    /** Where the arc lies and where the name label sits. */
    enum Orientation : juce::int32
    {
        arcLeftLabelRight = 0,
        arcRightLabelLeft = 1,
        arcLeftLabelCentred = 2
    };

    /** The gain look and the plain look draw alike. */
    HV_Knob_s500 (Orientation orientation, bool gain);

    void setSliderBounds (const int& x, const int& y, const int& size) override;

    /** Sets the name and the range; with two or more labels, replaces the scale by one mark
        per label, evenly spread over the range. The last two values are not used. Redefining
        a knob that is already laid out lays it out again. */
    void defineSliderPrms (const juce::String& name, const juce::StringArray& labels,
                           const float& minValue, const float& maxValue, const float& interval,
                           const float& defaultValue, const float& spare) override;

protected:
    Orientation orientation;

private:
    void placeNameLabel (int x, int y, int size);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Knob_s500)
};
