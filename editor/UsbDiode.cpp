#include "editor/UsbDiode.h"

#include "editor/LowerRowGeometry.h"

#include <cmath>

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
    const auto lamps = LowerRowGeometry::lampsAt ((float) getWidth() * LowerRowGeometry::usbScalePerPixel);
    const auto centreX = juce::roundToInt (0.5f * (float) getWidth());

    for (auto* lamp : { (juce::Component*) &unlitDiode, (juce::Component*) &litDiode })
    {
        lamp->setSize (lamps.lampEdge, lamps.lampEdge);
        lamp->setCentrePosition (centreX, lamps.lampCentreY);
    }

    const juce::Font font (lamps.labelFontHeight, juce::Font::bold);
    label.setSize ((int) std::ceil (1.5f * font.getStringWidthFloat (label.getText())), lamps.labelHeight);
    label.setBorderSize (juce::BorderSize<int> (0));
    label.setCentrePosition (getX() + centreX, getY() + lamps.labelCentreY);
    label.setFont (font);
    label.setJustificationType (juce::Justification::centredTop);
}
