#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace juce
{

/** The palette of the menu bar, its buttons and the device selector, addressed by index. */
struct MainMenuColours
{
    MainMenuColours()
        : colours { Colour (0xFF252629), // 0: menu bar gradient, top
                    Colour (0xFF252629), // 1: menu bar gradient, bottom
                    Colour (0x00000000), // 2: unused
                    Colour (0xFFD63232), // 3: menu-bar button, toggled
                    Colour (0xFFB3B6BD), // 4: menu-bar button, normal; USB button unlit
                    Colour (0xFF51565F), // 5: menu-bar button, disabled
                    Colour (0xFF0092FF) } // 6: USB button lit
    {
    }

    const Colour& operator[] (size_t index) const { return colours[index]; }
    Colour& operator[] (size_t index) { return colours[index]; }

    static constexpr size_t numColours = 7;
    std::array<Colour, numColours> colours;
};

} // namespace juce
