#include "editor/UsbDiode.h"

#include <cmath>

namespace
{

/** Pixels per design unit for each pixel of width: the design width is 14.4646. */
constexpr float scalePerPixel = 0.06913444f;

} // namespace

UsbDiode::UsbDiode()
{
    unlitDiode.setInterceptsMouseClicks (false, false);
    addAndMakeVisible (unlitDiode);
    addChildComponent (litDiode);

    label.setText ("USB", juce::dontSendNotification);
    label.setColour (juce::Label::textColourId, juce::Colours::black);
    label.setJustificationType (juce::Justification::centredTop);
    label.setEditable (false, false);
}

UsbDiode::~UsbDiode() = default;

void UsbDiode::visibilityChanged()
{
    label.setVisible (isVisible());
}

void UsbDiode::parentHierarchyChanged()
{
    if (auto* parent = getParentComponent())
        parent->addChildComponent (label);
}

void UsbDiode::paint (juce::Graphics&)
{
}

void UsbDiode::resized()
{
    layout();
}

// The label is placed in the parent's coordinates, so a move alone must carry it along.
void UsbDiode::moved()
{
    layout();
}

void UsbDiode::layout()
{
    const auto scale = (float) getWidth() * scalePerPixel;
    const auto R = [scale] (float length) { return juce::roundToInt (length * scale); };

    const auto lampEdge = R (9.3f);
    const auto centreX = juce::roundToInt (0.5f * (float) getWidth());

    for (auto* lamp : { (juce::Component*) &unlitDiode, (juce::Component*) &litDiode })
    {
        lamp->setSize (lampEdge, lampEdge);
        lamp->setCentrePosition (centreX, R (14.0f));
    }

    const auto labelHeight = R (7.5f);
    const juce::Font font (0.735f * (float) labelHeight, juce::Font::bold);
    label.setSize ((int) std::ceil (1.5f * font.getStringWidthFloat (label.getText())), labelHeight);
    label.setBorderSize (juce::BorderSize<int> (0));
    label.setCentrePosition (getX() + centreX, getY() + R (8.5f));
    label.setFont (font);
    label.setJustificationType (juce::Justification::centredTop);
}
