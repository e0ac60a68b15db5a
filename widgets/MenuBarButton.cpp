#include "widgets/MenuBarButton.h"

namespace juce
{

MenuBarButton::MenuBarButton (const String& buttonName) : Button (buttonName) {}

MenuBarButton::~MenuBarButton() = default;

void MenuBarButton::mouseEnter (const MouseEvent& event)
{
    Button::mouseEnter (event);

    if (onMouseEnterFunc)
        onMouseEnterFunc();
}

void MenuBarButton::mouseExit (const MouseEvent& event)
{
    Button::mouseExit (event);

    if (onMouseExitFunc)
        onMouseExitFunc();
}

void MenuBarButton::setColours (const MainMenuColours& menuColours)
{
    toggledColour = menuColours[3];
    normalColour = menuColours[4];
    disabledColour = menuColours[5];
}

Colour MenuBarButton::getColourForCurrentState() const
{
    if (! isEnabled())
        return disabledColour;

    return getToggleState() ? toggledColour : normalColour;
}

} // namespace juce
