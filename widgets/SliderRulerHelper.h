#pragma once

class HV_Knob;

/** What a knob's scale click areas share: the value their mark stands for, the knob they move,
    and what a press and a release on them do.

    A press moves the knob to the mark's value and runs the knob's drag-start and value-change
    callbacks; the release runs its drag-end callback. A release ends only the gesture its own
    press began, so drag starts and ends always pair up, even when the area was pressed before
    the knob's first layout, or was switched off or moved to another knob in between.
*/
class SliderRulerHelper
{
public:
    SliderRulerHelper() = default;
    virtual ~SliderRulerHelper() = default;

    /** Ends the gesture that a press on this area began, if its release has not come yet:
        for a knob that replaces or destroys its areas while one is held. Returns whether there
        was one. */
    bool endOpenGesture();

    /** False until the knob defines the area. */
    bool isActive = false;
    /** The slider value this mark stands for. */
    double value = 0.0;
    /** The knob this area moves; null until the knob's first layout, and a press does nothing
        until then. */
    HV_Knob* knob = nullptr;

protected:
    void handlePress();
    void handleRelease();

private:
    /** The knob whose gesture a press began and whose drag end is still due. */
    HV_Knob* knobWithOpenGesture = nullptr;
};
