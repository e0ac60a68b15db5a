#pragma once

#include <juce_graphics/juce_graphics.h>

/** The panel's own colours. */
struct EQ700K_Colours
{
    /** Lit lamps of the step switches, the engage button, the channel selector and the clip
        indicators. */
    static inline const juce::Colour redColour { 0xffe01515 };

    /** The default colour of the panel lettering. */
    static inline const juce::Colour panelFontColour { 0xffe8e8e8 };
};
