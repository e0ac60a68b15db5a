#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A square button that renders its look into images whenever it is laid out.

    The size is the larger of the component's width and height. A widget that wants the images
    at some other edge without moving the button sets size and halfSize itself and calls
    prepareButtonImage().
*/
class HV_Button : public juce::Button
{
public:
    explicit HV_Button (const juce::String& buttonName);

    /** Renders the button's images for the current size. */
    virtual void prepareButtonImage() = 0;

    void resized() override;

    /** The button's edge in pixels; -1 until the first layout. */
    float size = -1.0f;
    /** Half the edge; -0.5 until the first layout. */
    float halfSize = -0.5f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Button)
};
