#include "LayoutPreview.h"

#include "PanelLayout.h"
#include "editor/LowerRowGeometry.h"
#include "editor/StepSwitchRowGeometry.h"
#include "widgets/KnobDesign.h"
#include "widgets/SevenSegmentDesign.h"

using namespace panel_layout;

namespace
{

int rounded (float x) { return juce::roundToInt (x); }

const juce::Colour panelFont { 0xffe8e8e8 };
const juce::Colour lampRed { 0xffe01515 };


template <size_t numNudges>
std::vector<float> nudgesOf (const std::array<float, numNudges>& nudges)
{
    return { nudges.begin(), nudges.end() };
}

void drawCap (juce::Graphics& g, juce::Rectangle<float> cap)
{
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.fillRoundedRectangle (cap.translated (0.0f, 1.5f), cap.getWidth() * 0.12f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffdcdad6), 0.0f, cap.getY(),
                                             juce::Colour (0xff8f8d8a), 0.0f, cap.getBottom(), false));
    g.fillRoundedRectangle (cap, cap.getWidth() * 0.12f);
    g.setColour (juce::Colour (0xffc4c2be));
    g.fillRoundedRectangle (cap.reduced (cap.getWidth() * 0.1f), cap.getWidth() * 0.1f);
}

} // namespace

LayoutPreview::LayoutPreview (const ArtworkFonts& artworkFonts, const juce::Image& faceplateImage)
    : fonts (artworkFonts), faceplate (faceplateImage)
{
}

juce::Image LayoutPreview::render (float scale, bool outline) const
{
    juce::Image image (juce::Image::ARGB, juce::roundToInt (viewWidth * scale), juce::roundToInt (viewHeight * scale), true);
    juce::Graphics g (image);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImage (faceplate, juce::Rectangle<float> (viewWidth * scale, viewHeight * scale));
    g.addTransform (juce::AffineTransform::scale (scale));

    drawKnob (g, hiAttenKnob, 1, panelNameOf (ProductTable::hiAtten), true, 0.3f);
    drawKnob (g, hiBoostKnob, 0, panelNameOf (ProductTable::hiBoost), true, 0.55f);
    drawKnob (g, loAttenKnob, 1, panelNameOf (ProductTable::loAtten), true, 0.0f);
    drawKnob (g, loBoostKnob, 0, panelNameOf (ProductTable::loBoost), true, 1.0f);

    // Each switch at some position, as a check picture shows them.
    const struct
    {
        juce::Rectangle<float> box;
        int numButtons;
        ProductTable::ControlIndex control;
        int position;
        std::vector<float> nudges;
    } switches[] {
        { cpsSwitch, 2, ProductTable::loCps, 1, nudgesOf (StepSwitchRowGeometry::cpsNudges) },
        { boostKcsSwitch, 2, ProductTable::hiKcsBoost, 4, nudgesOf (StepSwitchRowGeometry::boostKcsNudges) },
        { hiBwSwitch, 1, ProductTable::hiBandwidth, 0, nudgesOf (StepSwitchRowGeometry::hiBwNudges) },
        { attenKcsSwitch, 1, ProductTable::hiKcsAtten, 2, nudgesOf (StepSwitchRowGeometry::attenKcsNudges) },
    };

    for (const auto& s : switches)
        drawSwitch (g, s.box, s.numButtons, positionLabelsOf (s.control), panelNameOf (s.control), s.position, s.nudges);

    drawLowerRow (g);
    drawDisplay (g);
    drawKnob (g, presetKnob, 2, "PRESET", false, 0.0f);
    drawWindowCorner (g);

    if (outline)
        outlineControls (g);

    return image;
}

void LayoutPreview::drawKnob (juce::Graphics& g, juce::Rectangle<float> box, int orientation, const juce::String& name,
                              bool withScale, float value) const
{
    const auto knob = knobGeometry (box);
    const auto s = box.getWidth() / KnobDesign::designSize;
    const auto R = knob.bodyRadius;
    const auto c = knob.centre;
    const auto arc = orientation == 1 ? KnobDesign::arcOnTheRight : KnobDesign::arcOnTheLeft;
    const auto start = arc.start;
    const auto end = arc.end;
    auto onArc = [&] (float radius, float theta) { return c + juce::Point<float> (radius * std::sin (theta), -radius * std::cos (theta)); };

    if (withScale)
    {
        const auto& marks = ProductTable::scaleMarks;
        const auto lit = (float) juce::roundToInt (value * 10.0f);
        for (int i = 0; i < (int) marks.size(); ++i)
        {
            const juce::String mark (marks[(size_t) i]);
            const auto theta = start + (float) i * (end - start) / 10.0f;
            const auto at = onArc (knob.scaleRadius, theta);
            g.setColour (panelFont);
            if (mark == ".")
                g.fillEllipse (juce::Rectangle<float> (s, s).withCentre (at));
            else
                drawLabel (g, mark, at, 6.25f * s, panelFont);

            drawLamp (g, onArc (knob.lampRadius, theta), 4.0f * s,
                      (float) i == lit ? juce::Colour (0xffc8c8c8) : juce::Colour (0xffb49614).darker (0.9f));
        }
    }

    const auto shadowSize = 2.0f * R + juce::jmax (2.0f * s, 2.0f);
    const auto shadowCentre = c.translated (s, 3.0f * s);
    juce::ColourGradient shadow (juce::Colours::black, shadowCentre, juce::Colours::transparentBlack,
                                 shadowCentre.translated (shadowSize * 0.5f, 0.0f), true);
    shadow.addColour (0.5, juce::Colours::black);
    g.setGradientFill (shadow);
    g.fillEllipse (juce::Rectangle<float> (shadowSize, shadowSize).withCentre (shadowCentre));

    const auto body = juce::Rectangle<float> (2.0f * R, 2.0f * R).withCentre (c);
    const auto chamfer = juce::jmax (1.0f, 1.5f * s);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffeae4df), 0.0f, body.getY(), juce::Colour (0xffa49d97), 0.0f, body.getBottom(), false));
    g.fillEllipse (body);
    const auto face = body.reduced (chamfer);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xffcdc6c2), face.getX(), 0.0f, juce::Colour (0xffc6c6c6), face.getRight(), 0.0f, false));
    g.fillEllipse (face);

    if (withScale)
    {
        juce::Path pointer;
        pointer.addRectangle (-0.059f * R, 1.9f * chamfer - R, 0.118f * R, R / 1.8f);
        g.setColour (juce::Colours::black);
        g.fillPath (pointer, juce::AffineTransform::rotation (start + value * (end - start)).translated (c));
    }

    const auto justification = orientation == 0 ? juce::Justification::centredRight
                             : orientation == 1 ? juce::Justification::centredLeft
                                                : juce::Justification::centred;
    g.setColour (orientation == 2 ? juce::Colours::black : panelFont);
    g.setFont (fonts.bold (6.5f * s));
    g.drawText (name, knobNameLabel (box, orientation, name), justification);
}

void LayoutPreview::drawSwitch (juce::Graphics& g, juce::Rectangle<float> box, int numButtons, const juce::StringArray& labels,
                                const juce::String& name, int position, const std::vector<float>& nudges) const
{
    const auto s = box.getHeight() / StepSwitchRowGeometry::designHeight;
    const auto row = StepSwitchRowGeometry::rowFor ((int) box.getWidth(), s, labels.size());
    const auto d = (float) row.lampEdge;
    const auto hL = (float) row.labelHeight;

    for (int i = 0; i < labels.size(); ++i)
    {
        const auto xi = (float) row.lampX (i);
        const auto nudge = (float) StepSwitchRowGeometry::nudgeOf (nudges.data(), nudges.size(), i, s);
        drawLamp (g, box.getPosition().translated (xi, (float) row.lampCentreY), d * 0.7f,
                  i == position ? lampRed : juce::Colour (0xff1b1b1b));
        drawLabel (g, labels[i], { box.getX() + xi - nudge, box.getY() + (float) row.labelCentreY + hL * 0.5f },
                   row.labelFontHeight, panelFont);
    }

    const auto h = (float) rounded (6.0f * s);
    const auto lines = juce::StringArray::fromLines (name);
    if (lines.size() == 1)
        drawLabel (g, name, { box.getCentreX(), box.getY() + h * 0.5f + (float) rounded (11.0f * s) }, 0.95f * h, panelFont);
    else
    {
        const auto firstY = box.getY() + (float) rounded (9.4f * s) + h * 0.5f;
        drawLabel (g, lines[0], { box.getCentreX(), firstY }, 0.95f * h, panelFont);
        drawLabel (g, lines[1], { box.getCentreX(), firstY + (float) rounded (5.8f * s) }, 0.9f * h, panelFont);
    }

    for (auto cap : switchButtons (box, numButtons))
        drawCap (g, cap);
}

void LayoutPreview::drawLowerRow (juce::Graphics& g) const
{
    using namespace LowerRowGeometry;

    // ENGAGE: cap, lamp, and its name at the top left of a box centred right of the cap.
    const auto& e = engageButton;
    const auto engage = engageAt ((int) e.getWidth(), (int) e.getHeight());
    const auto engageLamps = lampsAt (e.getHeight() / designHeight);
    const auto lampDiameter = (float) engageLamps.lampEdge * 0.7f;
    drawCap (g, { e.getX() + (float) engage.capX, e.getY() + (float) engage.capY, (float) engage.capEdge, (float) engage.capEdge });
    drawLamp (g, e.getPosition().translated ((float) engage.lampCentreX, (float) engage.lampCentreY), lampDiameter, lampRed);
    {
        const auto font = fonts.bold (engageLamps.labelFontHeight);
        const juce::String name = panelNameOf (ProductTable::engage);
        const auto width = (float) rounded (1.25f * font.getStringWidthFloat (name));
        const auto centre = juce::Point<float> (e.getX() + (float) engage.nameCentreX,
                                                (float) engage.nameCentreY ((int) e.getY(), (int) e.getHeight(), engageLamps.labelHeight));
        g.setColour (juce::Colours::black);
        g.setFont (font);
        g.drawText (name, juce::Rectangle<float> (width, (float) engageLamps.labelHeight).withCentre (centre),
                    juce::Justification::topLeft);
    }

    // USB lamp.
    const auto usbLamps = lampsAt (usbLamp.getWidth() * usbScalePerPixel);
    const auto usbX = (float) rounded (0.5f * usbLamp.getWidth());
    drawLamp (g, usbLamp.getPosition().translated (usbX, (float) usbLamps.lampCentreY), (float) usbLamps.lampEdge * 0.7f,
              juce::Colour (0xff202020));
    drawLabel (g, "USB", { usbLamp.getX() + usbX, usbLamp.getY() + (float) usbLamps.labelCentreY }, usbLamps.labelFontHeight,
               juce::Colours::black);

    // Channel selector: three lamps with labels, the cap at the right, "CH." beyond it.
    const auto& c = channelSelector;
    const auto selector = channelSelectorAt ((int) c.getHeight());
    const auto selectorLamps = lampsAt (c.getHeight() / designHeight);
    const auto edge = (float) selector.capEdge;
    drawCap (g, { c.getRight() - (edge + (float) selector.capMargin), c.getY() + (float) selector.capY, edge, edge });
    const auto& positions = ProductTable::channelSwitchLabels;
    for (int i = 0; i < (int) positions.size(); ++i)
    {
        const auto x = (float) selector.lampX (i);
        drawLamp (g, c.getPosition().translated (x, (float) selectorLamps.lampCentreY), (float) selectorLamps.lampEdge * 0.7f,
                  i == 1 ? lampRed : juce::Colour (0xff1b1b1b));
        drawLabel (g, positions[(size_t) i], { c.getX() + x, c.getY() + (float) selectorLamps.labelCentreY }, selectorLamps.labelFontHeight,
                   juce::Colours::black);
    }
    {
        const auto nameHeight = (float) selector.nameHeight;
        const auto font = fonts.bold (0.8f * nameHeight);
        const juce::String name = panelNameOf (ProductTable::channelControl);
        const auto width = (float) rounded (1.7f * font.getStringWidthFloat (name));
        const auto box = juce::Rectangle<float> (width, nameHeight)
                             .withCentre ({ c.getRight() + (float) selector.nameCentreXPastRight,
                                            c.getY() + (float) selectorLamps.lampCentreY });
        g.setColour (juce::Colours::black);
        g.setFont (font);
        g.drawText (name, box.withTrimmedLeft (5.0f), juce::Justification::centredLeft);
    }

    // Clip lamps, "1" and "2" over them, "CLIP" along the bottom.
    const auto& k = clipLamps;
    const auto clipScale = k.getWidth() * clipScalePerPixel;
    const auto clip = clipAt (clipScale);
    const auto clipRow = lampsAt (clipScale);
    for (auto [lampX, text] : { std::pair<int, const char*> { clip.leftX, "1" }, { clip.rightX, "2" } })
    {
        drawLamp (g, k.getPosition().translated ((float) lampX, (float) clipRow.lampCentreY), (float) clipRow.lampEdge * 0.7f,
                  juce::Colour (0xff1b1b1b));
        drawLabel (g, text, { k.getX() + (float) lampX, k.getY() + (float) clipRow.labelCentreY }, clipRow.labelFontHeight,
                   juce::Colours::black);
    }
    drawLabel (g, "CLIP", { k.getCentreX(), k.getBottom() - (float) clip.nameTopFromBottom + (float) clip.nameHeight * 0.5f },
               0.735f * (float) clip.nameHeight, juce::Colours::black);
}

void LayoutPreview::drawDisplay (juce::Graphics& g) const
{
    const auto s = display.getWidth() / SevenSegmentDesign::designWidth;
    const auto tenths = s / 10.0f;
    const std::vector<std::vector<int>> litByDigit { {}, { 1, 2 }, { 0, 1, 3, 4, 6 } }; // blank, "1", "2"

    for (int digit = 0; digit < 3; ++digit)
    {
        const auto origin = display.getPosition().translated (SevenSegmentDesign::digitX[(size_t) digit] * s, 0.0f);
        for (int segment = 0; segment < 7; ++segment)
        {
            juce::Path outline;
            const auto& segmentOutline = SevenSegmentDesign::segmentOutlines[(size_t) segment];
            for (int i = 0; i < segmentOutline.numPoints; ++i)
            {
                const auto point = segmentOutline.points[(size_t) i];
                const juce::Point<float> at { (float) point.x * tenths, (float) point.y * tenths };
                if (i == 0)
                    outline.startNewSubPath (at);
                else
                    outline.lineTo (at);
            }
            outline.closeSubPath();

            const auto& lit = litByDigit[(size_t) digit];
            const auto isLit = std::find (lit.begin(), lit.end(), segment) != lit.end();
            g.setColour (isLit ? juce::Colours::red : juce::Colours::black);
            g.fillPath (outline, juce::AffineTransform::translation (origin));
        }

        if (digit < 2)
        {
            g.setColour (juce::Colours::black);
            const auto& point = SevenSegmentDesign::decimalPoint;
            g.fillEllipse (juce::Rectangle<float> ((float) point[0], (float) point[1], (float) point[2], (float) point[3]) * tenths + origin);
        }
    }
}

void LayoutPreview::drawWindowCorner (juce::Graphics& g)
{
    const auto w = windowButton.getWidth();
    const auto h = windowButton.getHeight();
    const auto halfPi = juce::MathConstants<float>::halfPi;

    juce::Path window;
    window.addCentredArc (0.0f, h, w, h, 0.0f, 0.0f, halfPi, true);
    window.addCentredArc (w * 0.5f, h, w * 0.5f, h * 0.5f, 0.0f, halfPi, 0.0f);
    window.addCentredArc (0.0f, h * 0.5f, w * 0.5f, h * 0.5f, 0.0f, halfPi, 0.0f);
    window.closeSubPath();

    juce::Path corner;
    corner.addCentredArc (0.0f, h, w, h, 0.0f, 0.0f, halfPi, true);
    corner.lineTo (w, 0.0f);
    corner.closeSubPath();

    const auto at = juce::AffineTransform::translation (windowButton.getPosition());
    g.setColour (juce::Colour (0x40000000));
    g.fillPath (window, at);
    g.setColour (juce::Colour (0x66ffffff));
    g.fillPath (corner, at);
}

void LayoutPreview::drawLamp (juce::Graphics& g, juce::Point<float> centre, float diameter, juce::Colour colour)
{
    const auto lamp = juce::Rectangle<float> (diameter, diameter).withCentre (centre);
    g.setColour (colour);
    g.fillEllipse (lamp);
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawEllipse (lamp, diameter * 0.08f);
}

void LayoutPreview::drawLabel (juce::Graphics& g, const juce::String& text, juce::Point<float> centre, float fontHeight,
                               juce::Colour colour) const
{
    const auto font = fonts.bold (fontHeight);
    const auto box = juce::Rectangle<float> (font.getStringWidthFloat (text) + 2.0f, fontHeight).withCentre (centre);
    g.setColour (colour);
    g.setFont (font);
    g.drawText (text, box, juce::Justification::centred, false);
}

void LayoutPreview::outlineControls (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff00e0ff));
    for (auto box : { hiAttenKnob, hiBoostKnob, loAttenKnob, loBoostKnob, cpsSwitch, boostKcsSwitch, hiBwSwitch,
                      attenKcsSwitch, engageButton, channelSelector, usbLamp, clipLamps, display, presetKnob, windowButton })
        g.drawRect (box, 0.5f);

    g.setColour (juce::Colour (0xffff40c0));
    g.drawRect (nameBand, 0.5f);
    g.drawLine (0.0f, lightPlateTop, viewWidth, lightPlateTop, 0.5f);
}

juce::Image LayoutPreview::renderIcons (const juce::Path& menuIcon, const juce::Path& usbIcon, float zoom)
{
    constexpr float bar = 25.0f;
    juce::Image image (juce::Image::ARGB, juce::roundToInt (3.0f * bar * zoom), juce::roundToInt (bar * zoom), true);
    juce::Graphics g (image);
    g.addTransform (juce::AffineTransform::scale (zoom));
    g.fillAll (juce::Colour (0xff252629));

    const auto menuArea = juce::Rectangle<float> (bar, bar).reduced ((bar - 0.7f * bar) * 0.5f);
    const auto usbArea = juce::Rectangle<float> (2.0f * bar, 0.0f, bar, bar);
    g.setColour (juce::Colour (0xffb3b6bd));
    g.fillPath (menuIcon, menuIcon.getTransformToScaleToFit (menuArea, true));
    g.setColour (juce::Colour (0xff0092ff));
    g.fillPath (usbIcon, usbIcon.getTransformToScaleToFit (usbArea, true));

    g.setColour (juce::Colours::white.withAlpha (0.3f));
    g.drawRect (juce::Rectangle<float> (bar, bar), 1.0f / zoom);
    g.drawRect (usbArea, 1.0f / zoom);
    return image;
}
