#pragma once

#include "widgets/MainMenuColours.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace juce
{

/** A button of the menu bar: drawn in one of three colours taken from the menu palette, and
    reporting the mouse entering and leaving it. Transparent until setColours is called. */
class MenuBarButton : public Button
{
public:
    explicit MenuBarButton (const String& buttonName);
    ~MenuBarButton() override;

    std::function<void()> onMouseEnterFunc = [] {};
    std::function<void()> onMouseExitFunc = [] {};

    void mouseEnter (const MouseEvent& event) override;
    void mouseExit (const MouseEvent& event) override;

    /** Takes the toggled (3), normal (4) and disabled (5) colours; does not repaint. */
    virtual void setColours (const MainMenuColours& menuColours);

    /** Sizes the content to the given height, centred in the button. */
    virtual void setContentHeight (float contentHeight) = 0;

    /** The width the content takes at the given height. */
    virtual int getContentWidthForHeight (float contentHeight) = 0;

protected:
    /** The colour for the current state: disabled (the button or an ancestor), else toggled,
        else normal. Hovering does not change it. */
    Colour getColourForCurrentState() const;

    Colour normalColour, toggledColour, disabledColour;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarButton)
};

} // namespace juce
