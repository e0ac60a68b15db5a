#pragma once

#include "ArtworkFonts.h"
#include "PanelLayout.h"

/** Draws the channel strip's faceplate: a two-tone anodised 500-series front panel at twice
    the view's size. It prints only what the controls do not draw themselves: the wordmark,
    the HI and LO section marks, recesses that frame the controls, the display's glass window
    and the mounting screws. The upper plate is dark (the controls letter it in light grey),
    the lower plate light (lettered in black). The drawing is deterministic: the brushing
    comes from a fixed seed. */
class FaceplatePainter
{
public:
    explicit FaceplatePainter (const ArtworkFonts& fonts);

    /** A new 650 x 1140 ARGB image of the faceplate. */
    juce::Image paint() const;

    /** The check before the faceplate is written: one line for each name label the controls
        print over the plate whose rectangle overlaps one of the dark boxes the plate has (the
        wells behind the switch caps, the display's bezel); empty when every label is clear. */
    juce::StringArray labelsOnBoxes() const;

private:
    void brushPlates (juce::Image& image) const;
    void drawPlateEdges (juce::Graphics& g) const;
    void drawNameBand (juce::Graphics& g) const;
    void drawSectionMarks (juce::Graphics& g) const;
    void drawKnobCollars (juce::Graphics& g) const;
    void drawSwitchWells (juce::Graphics& g) const;
    void drawDisplayWindow (juce::Graphics& g) const;
    void drawScrews (juce::Graphics& g) const;
    panel_layout::TextWidth textWidth() const;

    const ArtworkFonts& fonts;
};
