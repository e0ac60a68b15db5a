#pragma once

#include <juce_graphics/juce_graphics.h>

/** The two icons of the menu bar, as filled paths (non-zero winding). The menu bar scales
    them to fit its buttons keeping their proportions: the menu icon into a 17.5-pixel square,
    the USB symbol into the 25-pixel button. */
class MenuBarIcons
{
public:
    /** Three rounded bars in a square. */
    static juce::Path menuIcon();

    /** The USB trident lying on its side: a round plug end, a shaft ending in an arrow, one
        branch ending in a dot and one in a square. About 2.2 times as wide as high. */
    static juce::Path usbIcon();
};
