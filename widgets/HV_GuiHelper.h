#pragma once

#include <juce_graphics/juce_graphics.h>

/** Renders the procedural textures of the widget kit: the conical highlight bands of caps and
    knob bodies, their brushing rings, and the images of unlit and lit lamps.

    Everything here runs at layout time, never while painting; callers cache what they get.
    The functions keep no state beyond the random sources of HV_Random. Message thread only.
    A function that replaces an image leaves it null when its size comes out below one pixel.
*/
class HV_GuiHelper
{
public:
    HV_GuiHelper() = delete;

    /** Draws one conical layer of the gradient's colours around the centre of a square of the
        given size, placed in the middle of a square of targetSize, with per-pixel noise. With a
        chamfer above 0 and below half the size only a ring of that width along the edge is
        drawn. The shifts move the layer within its square, wrapping round. The target's state
        is restored on return. */
    static void fillConicalGradient (juce::Graphics* target, const juce::ColourGradient& colours,
                                     const float& size, const float& targetSize,
                                     const float& shiftX, const float& shiftY, const float& chamfer);

    /** Replaces the image with four randomised layers of dark bands: two over the chamfer ring
        and two over the inner disc, drawn in one pass (each pixel's angle and radius once, a
        turned layer as an offset of the angle). */
    static void prepareConicalGradWithChamfer (juce::Image& image, const float& size, const float& chamfer);

    /** Draws 50 concentric near-black rings of random alpha below maxAlpha, covering the annulus
        between the two diameters, centred in a square of the given size; then leaves the
        target's colour at opaque black. */
    static void makeRotaryBrushingEffect (juce::Graphics& target, const float& size,
                                          const float& innerDiameter, const float& outerDiameter,
                                          const juce::uint8& maxAlpha);

    /** Replaces the image with an unlit lamp: a disc of the given diameter in an image twice as
        wide, the colour at its centre darkening towards a rim 40, 40 and 10 darker in red, green
        and blue. */
    static void prepareOffDiodeImageEncoder (juce::Image& image, const int& size, const juce::Colour& colour);

    /** Replaces the image with a lit lamp of twice the given size: a glow of the colour and a
        bright core. */
    static void prepareOnDiodeImage (juce::Image& image, const float& size, const juce::Colour& colour);

    /** The unlit and lit lamp images of prepareOffDiodeImageEncoder and prepareOnDiodeImage, made
        once per size and colour for the whole process (HvSharedArt) and shared by every lamp. */
    static juce::Image sharedOffDiodeImage (int size, juce::Colour colour);
    static juce::Image sharedOnDiodeImage (float size, juce::Colour colour);

    /** Replaces the image with the fine grain of a cap or knob body: a square of the given side
        whose pixels, row by row, take two draws of a noise of its own each, for a dark grey of
        20..29 and an alpha of 0..6. */
    static void prepareGrainImage (juce::Image& image, const int& size);

    /** The body of a knob, drawn in one pass into a square of the rounded diameter: the bevel
        ring (light at the top, dark at the bottom), the face within it, brushed by faint
        concentric rings and covered by a fine grain. Every body has noise of its own. */
    static juce::Image renderKnobBody (float diameter, float chamfer);

    /** The body of a cap button with its own band layers over the face, in one pass. */
    static juce::Image renderCapWithBands (float diameter, float chamfer);

    /** A square ARGB image cleared to transparent, or a null image when the edge is below one
        pixel: the framework does not allow an empty image. */
    static juce::Image createClearedSquare (int edge);

    /** The ellipse of a circle whose bounding square starts at (x, y). */
    static juce::Path circlePath (float x, float y, float diameter);
};
