#pragma once

#include "widgets/ButtonDarkDiode.h"
#include "widgets/HV_ButtonComponent_s500.h"
#include "widgets/HV_Button_s500.h"

#include <functional>
#include <memory>

/** An on/off control: one cap button whose toggle state the lit lamp shows, and an unlit lamp
    that toggles the button too. The lit lamp lets clicks through to whatever lies below.

    Subclasses supply the layout.
*/
class EQ864_ButtonComp : public HV_ButtonComponent_s500
{
public:
    EQ864_ButtonComp();

    /** Run after every click of the button, and after every toggle-state change that an owner
        makes with a click notification. */
    std::function<void()> onToggled;

    void renderDefaultSize (const int& edge) override;
    /** The control has no position labels. */
    void setDiodeLabelColour (const juce::Colour& colour) override;
    /** Shows the lit lamp exactly while the button is on. */
    void toggleStateChanged (juce::Button& button) override;

    /** The cap button, for owners that set its toggle state. */
    HV_Button_s500& getButton() noexcept { return *button; }

protected:
    std::unique_ptr<HV_Button_s500> button;
    std::unique_ptr<ButtonDarkDiode> unlitDiode;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (EQ864_ButtonComp)
};
