#include "widgets/MenuBarUsbButton.h"

namespace juce
{

MenuBarUsbButton::MenuBarUsbButton (int blinkIntervalMs)
    : blinkInterval (blinkIntervalMs > 0 ? blinkIntervalMs : defaultBlinkIntervalMs)
{
}

MenuBarUsbButton::~MenuBarUsbButton()
{
    stopTimer();
}

void MenuBarUsbButton::setColours (const MainMenuColours& menuColours)
{
    unlitColour = menuColours[4];
    litColour = menuColours[6];
    MenuBarShapeButton::setColours (menuColours);
    normalColour = lit ? litColour : unlitColour;
    repaint();
}

void MenuBarUsbButton::setIsConnected (bool isConnectedNow)
{
    if (isConnected == isConnectedNow)
        return;

    isConnected = isConnectedNow;
    enterStateFromStart();
}

void MenuBarUsbButton::setHasDevices (bool hasDevicesNow)
{
    if (hasDevices == hasDevicesNow)
        return;

    hasDevices = hasDevicesNow;
    enterStateFromStart();
}

void MenuBarUsbButton::enterStateFromStart()
{
    stopTimer();
    lit = isConnected;

    if (isConnected)
    {
        normalColour = litColour;
    }
    else
    {
        if (hasDevices)
            startTimer (blinkInterval);

        normalColour = unlitColour;
    }

    repaint();
}

void MenuBarUsbButton::timerCallback()
{
    lit = ! lit;
    normalColour = lit ? litColour : unlitColour;
    repaint();
}

} // namespace juce
