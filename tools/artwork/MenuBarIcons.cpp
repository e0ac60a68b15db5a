#include "MenuBarIcons.h"

juce::Path MenuBarIcons::menuIcon()
{
    constexpr float width = 20.0f, barHeight = 3.6f, pitch = 8.2f;

    juce::Path icon;
    for (int bar = 0; bar < 3; ++bar)
        icon.addRoundedRectangle (0.0f, (float) bar * pitch, width, barHeight, barHeight * 0.5f);

    return icon;
}

juce::Path MenuBarIcons::usbIcon()
{
    constexpr float stroke = 2.6f;
    constexpr float axis = 11.0f;

    // The lines are stroked into outlines; every outline and shape below runs the same way
    // round, so that where they overlap non-zero winding keeps them filled.
    juce::Path lines;
    lines.startNewSubPath (4.0f, axis);
    lines.lineTo (40.0f, axis);

    lines.startNewSubPath (12.5f, axis);
    lines.lineTo (18.5f, 3.8f);
    lines.lineTo (27.0f, 3.8f);

    lines.startNewSubPath (20.0f, axis);
    lines.lineTo (26.0f, 18.2f);
    lines.lineTo (32.0f, 18.2f);

    juce::Path icon;
    juce::PathStrokeType (stroke, juce::PathStrokeType::mitered, juce::PathStrokeType::butt)
        .createStrokedPath (icon, lines);

    icon.addEllipse (0.0f, axis - 4.4f, 8.8f, 8.8f);          // the plug end
    icon.addTriangle (48.0f, axis, 38.5f, axis + 4.8f, 38.5f, axis - 4.8f); // the arrow
    icon.addEllipse (26.0f, 3.8f - 2.9f, 5.8f, 5.8f);        // the dot branch
    icon.addRectangle (31.0f, 18.2f - 2.8f, 5.6f, 5.6f);     // the square branch

    return icon;
}
