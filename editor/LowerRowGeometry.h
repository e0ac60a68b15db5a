#pragma once

#include <juce_core/juce_core.h>

/** Where the controls of the light lower row (ENGAGE, the USB lamp, the CH. selector, the clip
    lamps) put their lamps, caps and labels, in a control's own coordinates. Plain arithmetic, no
    drawing: the controls lay out from it and the artwork's check picture draws from it.

    Each control has a scale, from its height (ENGAGE, CH.) or its width (USB, CLIP); lengths are
    rounded with halves to even. */
namespace LowerRowGeometry
{

/** ENGAGE and the CH. selector: the scale is the height over this. */
constexpr float designHeight = 25.313f;
/** The USB lamp and the clip lamps: the scale is the width times this. */
constexpr float usbScalePerPixel = 0.06913444f;
constexpr float clipScalePerPixel = 0.05377123f;

/** The lamps of the row, each with a label over it (USB, LINK 1 2, 1 2). */
struct Lamps
{
    int lampEdge;
    int labelHeight;
    float labelFontHeight;
    int lampCentreY;
    int labelCentreY;
};

inline int scaled (float length, float scale) { return juce::roundToInt (length * scale); }

inline Lamps lampsAt (float scale)
{
    const auto labelHeight = scaled (7.5f, scale);
    return { scaled (9.3f, scale), labelHeight, 0.735f * (float) labelHeight, scaled (14.0f, scale), scaled (8.5f, scale) };
}

/** The cap buttons of ENGAGE and of the CH. selector. */
inline int capEdge (float scale) { return scaled (19.5f, scale); }

/** ENGAGE: the cap at the left, centred in the height; the lamp right of it; the name above
    the lamp, its centre raised from the control's bottom. */
struct Engage
{
    int capX, capY, capEdge;
    int lampCentreX, lampCentreY;
    int nameCentreX;
    int nameRaise;

    /** The name's centre in the parent, for a control at that top (truncated to whole pixels). */
    int nameCentreY (int top, int height, int labelHeight) const
    {
        return (int) ((float) (top + height) + 0.5f * (float) labelHeight - (float) nameRaise);
    }
};

inline Engage engageAt (int width, int height)
{
    const auto scale = (float) height / designHeight;
    const auto edge = capEdge (scale);
    return { juce::roundToInt (0.0625f * (float) width), (height - edge) / 2, edge,
             scaled (26.6f, scale), scaled (12.6f, scale), scaled (35.6f, scale), scaled (22.2f, scale) };
}

/** The CH. selector: the cap at the right edge, the margin from it; the three lamps from the left,
    the name right of the control, level with the lamps. */
struct ChannelSelector
{
    int capMargin, capY, capEdge;
    int firstLampX, lampStep;
    int nameHeight;
    int nameCentreXPastRight;

    int lampX (int position) const noexcept { return firstLampX + position * lampStep; }
};

inline ChannelSelector channelSelectorAt (int height)
{
    const auto scale = (float) height / designHeight;
    const auto margin = scaled (0.803f, scale);
    return { margin, scaled (4.753f, scale), capEdge (scale), margin + scaled (6.5f, scale), scaled (9.0f, scale),
             scaled (9.0f, scale), scaled (4.8f, scale) };
}

/** The clip lamps: lamp 1 and lamp 2 across, "CLIP" along the bottom. */
struct Clip
{
    int leftX, rightX;
    int nameHeight;
    int nameTopFromBottom;
};

inline Clip clipAt (float scale)
{
    return { scaled (5.0f, scale), scaled (13.8f, scale), scaled (7.0f, scale), scaled (9.0f, scale) };
}

} // namespace LowerRowGeometry
