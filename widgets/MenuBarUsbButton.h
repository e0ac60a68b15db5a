#pragma once

#include "widgets/MenuBarShapeButton.h"

namespace juce
{

/** The menu bar's device button, drawn like a lamp: lit while the plug-in is connected to a unit,
    blinking (unlit first) while units are listed but none is connected, unlit otherwise. */
class MenuBarUsbButton : public MenuBarShapeButton,
                         public Timer
{
public:
    static constexpr int defaultBlinkIntervalMs = 500;

    /** An interval of 0 or less takes the default. */
    explicit MenuBarUsbButton (int blinkIntervalMs = defaultBlinkIntervalMs);
    ~MenuBarUsbButton() override;

    /** Takes the unlit (4) and lit (6) colours besides the base ones; repaints. */
    void setColours (const MainMenuColours& menuColours) override;

    void setIsConnected (bool isConnectedNow);
    void setHasDevices (bool hasDevicesNow);

    void timerCallback() override;

private:
    /** Enters the state the two inputs give, from its start: blinking begins unlit. */
    void enterStateFromStart();

    bool isConnected = false;
    bool hasDevices = false;
    Colour unlitColour, litColour;
    bool lit = false;
    const int blinkInterval;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarUsbButton)
};

} // namespace juce
