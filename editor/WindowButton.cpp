#include "editor/WindowButton.h"

namespace
{

constexpr float designWidth = 40.0f;
constexpr float quarterTurn = juce::MathConstants<float>::halfPi;

/** The quarter ellipse from the top-left corner round to the bottom-right corner. */
void addOuterArc (juce::Path& path, float w, float h)
{
    path.addCentredArc (0.0f, h, w, h, 0.0f, 0.0f, quarterTurn, true);
}

} // namespace

WindowButton::WindowButton() : juce::Button ({})
{
}

void WindowButton::resized()
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    scale = w / designWidth;

    windowPath.clear();
    addOuterArc (windowPath, w, h);
    windowPath.addCentredArc (w * 0.5f, h, w * 0.5f, h * 0.5f, 0.0f, quarterTurn, 0.0f, false);
    windowPath.addCentredArc (0.0f, h * 0.5f, w * 0.5f, h * 0.5f, 0.0f, quarterTurn, 0.0f, false);
    windowPath.closeSubPath();

    cornerPath.clear();
    addOuterArc (cornerPath, w, h);
    cornerPath.lineTo (w, 0.0f);
    cornerPath.closeSubPath();
}

void WindowButton::paintButton (juce::Graphics& g, bool highlighted, bool down)
{
    if (getToggleState())
    {
        paintCloseSign (g, juce::Colour (down ? 0xff9f9fa0 : highlighted ? 0xff555555 : 0xff808080));
        return;
    }

    if (down)
    {
        g.setColour (juce::Colour (0x80000000));
        g.fillPath (windowPath);
        return;
    }

    g.setColour (juce::Colour (highlighted ? 0x60000000 : 0x40000000));
    g.fillPath (windowPath);
    g.setColour (juce::Colour (highlighted ? 0x33ffffff : 0x66ffffff));
    g.fillPath (cornerPath);
}

void WindowButton::paintCloseSign (juce::Graphics& g, juce::Colour colour) const
{
    const auto width = (float) getWidth();
    const auto thickness = 4.0f * scale;
    const auto diameter = 21.0f * scale;
    const auto inset = (width - diameter) * 0.5f;
    const auto crossStart = inset + 6.0f * scale;
    const auto crossEnd = width - crossStart;

    g.setColour (colour);
    g.drawEllipse (inset, inset, diameter, diameter, thickness);
    g.drawLine (crossStart, crossStart, crossEnd, crossEnd, thickness);
    g.drawLine (crossEnd, crossStart, crossStart, crossEnd, thickness);
}
