#pragma once

#include "widgets/ButtonDiode.h"
#include "widgets/DiodeLabel.h"
#include "widgets/HV_ButtonComponent_s500.h"
#include "widgets/HV_Button_s500.h"

#include <atomic>
#include <cstddef>
#include <functional>

/** A multi-position step switch: one or two cap buttons, an unlit lamp and a clickable label per
    position, and the lit lamp that sits on the current position.

    With two buttons, button 0 steps down and button 1 steps up, stopping at either end; with one
    button each press steps up and wraps from the last position to the first. The buttons fire on
    mouse-down and repeat while held. A click on a position's lamp or label selects it. Every
    user step runs onStateChanged, even one that leaves the position as it was; owners move the
    switch silently with setValue.

    The layout is derived from the height (the design height is 37.5 pixels); subclasses place
    the lamps and position labels in layoutDiodes.
*/
class HV_Switch_s500 : public HV_ButtonComponent_s500
{
public:
    /** A switch of the given number of cap buttons and positions; a switch has at least one
        position, so 0 positions make 1. The last argument has no effect. */
    HV_Switch_s500 (const size_t& numButtons, const size_t& numPositions, bool unused);
    ~HV_Switch_s500() override;

    /** Run after a position change that asks for notification. */
    std::function<void()> onStateChanged;

    void renderDefaultSize (const int& edge) override;
    void setDiodeLabelColour (const juce::Colour& colour) override;
    /** A cap button was pressed: steps the position. */
    void toggleStateChanged (juce::Button& button) override;

    /** Moves to the position at index, or steps as the last pressed cap button says when the
        index is negative; an index past the last position selects the last one. Runs
        onStateChanged unless the notification is dontSendNotification. */
    void updateCurrentState (int index, juce::NotificationType notification);

    /** Moves silently to the position that stands for the value in the range; it never notifies,
        whatever the notification says. A range without extent leaves the position as it is. */
    void setValue (float value, juce::NotificationType notification);

    /** Gives position label i text i; labels past the end of the array get an empty text. */
    void setDiodeLabelsText (const juce::StringArray& texts);

    int getState() const noexcept { return state.load(); }
    int getNumPositions() const noexcept { return positionDiodes.size(); }
    int getNumButtons() const noexcept { return buttons.size(); }
    float getMinimum() const noexcept { return minimum; }
    float getMaximum() const noexcept { return maximum; }

    /** The value range the positions are spread over; owners may replace it. */
    juce::NormalisableRange<float> range { 0.0f, 1.0f, 0.01f, 1.0f };

protected:
    /** For subclasses that build their own buttons, lamps and labels: only the base parts (name
        label, hidden lit lamp) exist, minimum and maximum are 0, and the position labels already
        follow the control into its parent and take its visibility. */
    HV_Switch_s500();

    void layoutAllComponents() override;

    /** Places and sizes the lit lamp and every position lamp in the switch, and sizes, fonts and
        centres every position label in the parent's coordinates. */
    virtual void layoutDiodes (float scale) = 0;

    /** Centres the lit lamp on the lamp of the current position. */
    virtual void updateLightDiode();

    /** The position limited to 0 .. the last position; 0 while there are no positions. */
    int clampedPosition (int position) const noexcept;

    juce::OwnedArray<HV_Button_s500> buttons;
    juce::OwnedArray<ButtonDiode> positionDiodes;
    juce::OwnedArray<DiodeLabel> positionLabels;
    float minimum = 0.0f;
    float maximum = 0.0f;
    std::atomic<int> state { 0 };

private:
    void layoutButtons (float scale);
    void layoutNameLabels (float scale);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HV_Switch_s500)
};
