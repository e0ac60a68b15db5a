#include "FaceplatePainter.h"

#include "PanelLayout.h"

#include <cmath>
#include <tuple>
#include <vector>

using namespace panel_layout;

namespace
{

// Plate colours at the top and the bottom of each plate.
const juce::Colour darkPlateTop { 0xff313336 }, darkPlateBottom { 0xff27292c };
const juce::Colour lightPlateTopColour { 0xffdcdbd7 }, lightPlateBottom { 0xffcbcac6 };

// Lettering: the controls' own light grey, and a dimmer grey for small print.
const juce::Colour lettering { 0xffe8e8e8 };
const juce::Colour smallPrint { 0xff9a9c9f };

// The display's glass: very dark, but light enough that unlit black segments show.
const juce::Colour glassTop { 0xff2b2224 }, glassBottom { 0xff211b1c };

constexpr uint32_t brushingSeed = 0x713;

/** An engraved line: a dark groove with a faint highlight on its lower or right side. */
void drawGroove (juce::Graphics& g, juce::Line<float> line, float alphaScale = 1.0f)
{
    const auto along = line.getEnd() - line.getStart();
    const auto length = along.getDistanceFromOrigin();
    if (length <= 0.0f)
        return;

    const juce::Point<float> across { -along.y / length, along.x / length };
    const auto offset = (across.x + across.y >= 0.0f ? across : -across) * 0.75f;

    g.setColour (juce::Colours::black.withAlpha (0.55f * alphaScale));
    g.drawLine (line, 0.75f);
    g.setColour (juce::Colours::white.withAlpha (0.10f * alphaScale));
    g.drawLine ({ line.getStart() + offset, line.getEnd() + offset }, 0.6f);
}

void fillCentredText (juce::Graphics& g, const juce::Path& outline, juce::Point<float> centre)
{
    const auto bounds = outline.getBounds();
    g.fillPath (outline, juce::AffineTransform::translation (centre - bounds.getCentre()));
}

} // namespace

FaceplatePainter::FaceplatePainter (const ArtworkFonts& artworkFonts)
    : fonts (artworkFonts)
{
}

juce::Image FaceplatePainter::paint() const
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt (viewWidth * imageScale),
                       juce::roundToInt (viewHeight * imageScale), true);
    brushPlates (image);

    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale (imageScale));

    drawPlateEdges (g);
    drawNameBand (g);
    drawSectionMarks (g);
    drawKnobCollars (g);
    drawSwitchWells (g);
    drawDisplayWindow (g);
    drawScrews (g);
    return image;
}

void FaceplatePainter::brushPlates (juce::Image& image) const
{
    // Brushed metal: every row gets its own small shade, which drifts slowly along the row.
    juce::Random random (brushingSeed);
    const auto width = image.getWidth();
    const auto height = image.getHeight();
    const auto lightTop = juce::roundToInt (lightPlateTop * imageScale);
    constexpr int streakLength = 81;

    std::vector<float> noise ((size_t) (width + streakLength));
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < height; ++y)
    {
        const auto onLightPlate = y >= lightTop;
        const auto t = onLightPlate ? (float) (y - lightTop) / (float) (height - lightTop)
                                    : (float) y / (float) lightTop;
        const auto base = onLightPlate ? lightPlateTopColour.interpolatedWith (lightPlateBottom, t)
                                       : darkPlateTop.interpolatedWith (darkPlateBottom, t);
        const auto depth = onLightPlate ? 3.2f : 2.4f; // in 8-bit levels

        const auto rowShade = random.nextFloat() * 2.0f - 1.0f;
        for (auto& n : noise)
            n = random.nextFloat() * 2.0f - 1.0f;

        auto sum = 0.0f;
        for (int i = 0; i < streakLength; ++i)
            sum += noise[(size_t) i];

        for (int x = 0; x < width; ++x)
        {
            // The moving sum of uniform noise, brought back to about unit spread.
            const auto drift = sum / std::sqrt ((float) streakLength) * 1.7f;
            sum += noise[(size_t) (x + streakLength)] - noise[(size_t) x];

            const auto shade = depth * (0.8f * rowShade + 0.45f * drift);
            auto channel = [shade] (juce::uint8 c) { return (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (c + shade)); };
            pixels.setPixelColour (x, y, juce::Colour (channel (base.getRed()), channel (base.getGreen()),
                                                       channel (base.getBlue())));
        }
    }
}

void FaceplatePainter::drawPlateEdges (juce::Graphics& g) const
{
    // Where the dark plate meets the light one: a fine dark seam with a soft shade below it.
    g.setColour (juce::Colour (0xff141517));
    g.fillRect (0.0f, lightPlateTop - 1.0f, viewWidth, 1.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.22f), 0.0f, lightPlateTop,
                                             juce::Colours::transparentBlack, 0.0f, lightPlateTop + 3.0f, false));
    g.fillRect (0.0f, lightPlateTop, viewWidth, 3.0f);

    // The module's own edges, so that strips side by side read as separate modules.
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawRect (juce::Rectangle<float> (viewWidth, viewHeight), 0.5f);
    g.setColour (juce::Colours::white.withAlpha (0.07f));
    g.fillRect (0.5f, 0.5f, viewWidth - 1.0f, 0.5f);
    g.fillRect (0.5f, 0.5f, 0.5f, viewHeight - 1.0f);
}

void FaceplatePainter::drawNameBand (juce::Graphics& g) const
{
    // The maker's wordmark over the kind of unit on the left, the model on the right, both
    // clear of the window button's corner.
    constexpr float left = 33.0f, baseline = 41.0f;

    g.setColour (lettering);
    const auto wordmark = ArtworkFonts::textOutline (fonts.black (14.5f), "HALVORSTINE", 0.2f);
    g.fillPath (wordmark, juce::AffineTransform::translation (left - wordmark.getBounds().getX(), 27.5f));

    g.setColour (smallPrint);
    const auto kind = ArtworkFonts::textOutline (fonts.bold (7.0f), "PROGRAM EQUALIZER", 0.36f);
    g.fillPath (kind, juce::AffineTransform::translation (left - kind.getBounds().getX(), baseline));

    g.setColour (lettering);
    const auto model = ArtworkFonts::textOutline (fonts.black (23.0f), "EQ713K", 0.02f);
    g.fillPath (model, juce::AffineTransform::translation (nameBand.getRight() - 6.0f - model.getBounds().getRight(), baseline));

    drawGroove (g, { 12.0f, 57.5f, viewWidth - 12.0f, 57.5f });
}

panel_layout::TextWidth FaceplatePainter::textWidth() const
{
    return [this] (const juce::String& text, float fontHeight) { return fonts.bold (fontHeight).getStringWidthFloat (text); };
}

juce::StringArray FaceplatePainter::labelsOnBoxes() const
{
    struct Named { juce::String what; juce::Rectangle<float> area; };
    std::vector<Named> labels, boxes;

    for (const auto& panelSwitch : switchesOnPanel)
    {
        const auto names = juce::StringArray::fromLines (panelSwitch.name);
        const auto areas = switchNameLabels (panelSwitch.box, panelSwitch.name, textWidth());

        for (int i = 0; i < areas.size(); ++i)
            labels.push_back ({ names[i], areas[i] });

        boxes.push_back ({ names.joinIntoString (" ") + " well", switchWell (panelSwitch.box, panelSwitch.numButtons, areas) });
    }

    const std::tuple<juce::Rectangle<float>, int, const char*> knobs[] {
        { hiAttenKnob, 1, "ATTEN" }, { hiBoostKnob, 0, "BOOST" }, { loAttenKnob, 1, "ATTEN" }, { loBoostKnob, 0, "BOOST" },
        { presetKnob, 2, "PRESET" }
    };

    for (const auto& [box, orientation, name] : knobs)
        labels.push_back ({ name, knobNameLabel (box, orientation, name) });

    boxes.push_back ({ "display bezel", displayBezel() });

    juce::StringArray overlaps;

    for (const auto& label : labels)
        for (const auto& box : boxes)
            if (label.area.intersects (box.area))
                overlaps.add (label.what + " " + label.area.toString() + " overlaps the " + box.what + " " + box.area.toString());

    return overlaps;
}

void FaceplatePainter::drawSectionMarks (juce::Graphics& g) const
{
    const auto columnX = (hiAttenKnob.getRight() + hiBoostKnob.getX()) * 0.5f;
    const auto markFont = fonts.black (15.0f);

    auto mark = [&] (const juce::String& text, float centreY, float top, float bottom)
    {
        g.setColour (lettering);
        fillCentredText (g, ArtworkFonts::textOutline (markFont, text, 0.08f), { columnX, centreY });
        drawGroove (g, { columnX, top, columnX, centreY - 13.0f });
        drawGroove (g, { columnX, centreY + 13.0f, columnX, bottom });
    };

    mark ("HI", hiAttenKnob.getCentreY(), 78.0f, 180.0f);
    mark ("LO", loAttenKnob.getCentreY(), 286.0f, 386.0f);
}

void FaceplatePainter::drawKnobCollars (juce::Graphics& g) const
{
    // A shallow turned recess around each knob: darker towards the top, catching light on its
    // lower rim. It stays inside the knob's scale and clear of the name under the knob.
    auto collar = [&g] (juce::Rectangle<float> box, float shadeTop, float shadeBottom, float rimLight)
    {
        const auto knob = knobGeometry (box);
        const auto radius = knob.bodyRadius + 4.0f;
        const auto area = juce::Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (knob.centre);

        g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (shadeTop), 0.0f, area.getY(),
                                                 juce::Colours::black.withAlpha (shadeBottom), 0.0f, area.getBottom(), false));
        g.fillEllipse (area);

        juce::Path lowerRim;
        lowerRim.addCentredArc (knob.centre.x, knob.centre.y, radius, radius, 0.0f,
                                juce::MathConstants<float>::pi * 0.6f, juce::MathConstants<float>::pi * 1.4f, true);
        g.setColour (juce::Colours::white.withAlpha (rimLight));
        g.strokePath (lowerRim, juce::PathStrokeType (0.6f));
    };

    for (auto box : { hiAttenKnob, hiBoostKnob, loAttenKnob, loBoostKnob })
        collar (box, 0.42f, 0.18f, 0.13f);

    collar (presetKnob, 0.16f, 0.06f, 0.7f);
}

void FaceplatePainter::drawSwitchWells (juce::Graphics& g) const
{
    for (const auto& panelSwitch : switchesOnPanel)
    {
        const auto well = switchWell (panelSwitch.box, panelSwitch.numButtons,
                                      switchNameLabels (panelSwitch.box, panelSwitch.name, textWidth()));
        g.setColour (juce::Colours::black.withAlpha (0.32f));
        g.fillRoundedRectangle (well, 4.0f);
        g.setColour (juce::Colours::white.withAlpha (0.10f));
        g.drawLine (well.getX() + 4.0f, well.getBottom() + 0.3f, well.getRight() - 4.0f, well.getBottom() + 0.3f, 0.6f);
    }

    // CPS belongs to the LO section; a short groove parts it from the HI switches.
    const auto partX = (cpsSwitch.getRight() + boostKcsSwitch.getX()) * 0.5f;
    drawGroove (g, { partX, cpsSwitch.getY() + 4.0f, partX, cpsSwitch.getBottom() }, 0.8f);
}

void FaceplatePainter::drawDisplayWindow (juce::Graphics& g) const
{
    // A black bezel sunk into the light plate, and the smoked glass inside it.
    const auto bezel = displayBezel();
    g.setColour (juce::Colours::white.withAlpha (0.55f));
    g.fillRoundedRectangle (bezel.translated (0.0f, 0.75f).expanded (0.5f), 4.0f);
    g.setColour (juce::Colour (0xff0f0f10));
    g.fillRoundedRectangle (bezel, 3.5f);

    g.setGradientFill (juce::ColourGradient (glassTop, 0.0f, display.getY(), glassBottom, 0.0f, display.getBottom(), false));
    g.fillRoundedRectangle (display, 1.5f);

    // A faint sheen across the upper left of the glass.
    juce::Path sheen;
    sheen.startNewSubPath (display.getX(), display.getY());
    sheen.lineTo (display.getX() + display.getWidth() * 0.62f, display.getY());
    sheen.lineTo (display.getX() + display.getWidth() * 0.30f, display.getBottom());
    sheen.lineTo (display.getX(), display.getBottom());
    sheen.closeSubPath();
    g.setColour (juce::Colours::white.withAlpha (0.025f));
    g.fillPath (sheen);
}

void FaceplatePainter::drawScrews (juce::Graphics& g) const
{
    // Slotted mounting holes with pan-head screws, as on a 500-series module. The top right
    // corner belongs to the window button and stays plain.
    const std::pair<juce::Point<float>, float> screws[] {
        { { 15.0f, 15.0f }, 0.35f },
        { { 15.0f, viewHeight - 15.0f }, 1.1f },
        { { viewWidth - 15.0f, viewHeight - 15.0f }, 0.8f },
    };

    for (const auto& [centre, turn] : screws)
    {
        const auto slot = juce::Rectangle<float> (16.0f, 10.0f).withCentre (centre);
        g.setColour (juce::Colours::white.withAlpha (0.18f));
        g.fillRoundedRectangle (slot.translated (0.0f, 0.6f), 5.0f);
        g.setColour (juce::Colour (0xff0c0c0d));
        g.fillRoundedRectangle (slot, 5.0f);

        const auto head = juce::Rectangle<float> (9.0f, 9.0f).withCentre (centre.translated (-1.2f, 0.0f));
        g.setColour (juce::Colours::black.withAlpha (0.5f));
        g.fillEllipse (head.translated (0.3f, 0.8f));
        g.setGradientFill (juce::ColourGradient (juce::Colour (0xffe4e4e2), head.getX(), head.getY(),
                                                 juce::Colour (0xff7c7d80), head.getRight(), head.getBottom(), false));
        g.fillEllipse (head);
        g.setColour (juce::Colours::black.withAlpha (0.35f));
        g.drawEllipse (head, 0.4f);

        juce::Path recess;
        recess.addRoundedRectangle (-2.6f, -0.6f, 5.2f, 1.2f, 0.4f);
        recess.addRoundedRectangle (-0.6f, -2.6f, 1.2f, 5.2f, 0.4f);
        g.setColour (juce::Colour (0xff2e2f31));
        g.fillPath (recess, juce::AffineTransform::rotation (turn).translated (head.getCentre()));
    }
}
