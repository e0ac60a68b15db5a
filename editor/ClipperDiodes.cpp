#include "editor/ClipperDiodes.h"

#include "editor/LowerRowGeometry.h"
#include "widgets/EQ700K_Colours.h"

#include <cmath>
#include <utility>

namespace
{

void setUpLampLabel (DiodeLabel& label, const juce::String& text)
{
    label.setText (text, juce::dontSendNotification);
    label.setColour (juce::Label::textColourId, juce::Colours::black);
    label.setJustificationType (juce::Justification::centredTop);
    label.setEditable (false, false);
}

} // namespace

ClipperDiodes::ClipperDiodes()
{
    for (auto* lamp : { &leftUnlitDiode, &rightUnlitDiode })
    {
        lamp->setInterceptsMouseClicks (false, false);
        addAndMakeVisible (lamp);
    }

    for (auto* lamp : { &leftLitDiode, &rightLitDiode })
    {
        lamp->setDiodeColour (EQ700K_Colours::redColour);
        addChildComponent (lamp);
    }

    setUpLampLabel (leftLabel, "1");
    setUpLampLabel (rightLabel, "2");

    nameLabel.setText ("CLIP", juce::dontSendNotification);
    nameLabel.setColour (juce::Label::textColourId, juce::Colours::black);
    nameLabel.setJustificationType (juce::Justification::centred);
    nameLabel.setEditable (false, false);
}

ClipperDiodes::~ClipperDiodes() = default;

void ClipperDiodes::mouseDown (const juce::MouseEvent& event)
{
    // Bounds are half-open: a lamp's right and bottom edges belong to what lies beyond.
    const auto position = event.getPosition();

    if (leftUnlitDiode.getBounds().contains (position))
    {
        if (onLeftDiodeClicked)
            onLeftDiodeClicked();
    }
    else if (rightUnlitDiode.getBounds().contains (position))
    {
        if (onRightDiodeClicked)
            onRightDiodeClicked();
    }
}

void ClipperDiodes::visibilityChanged()
{
    const auto visible = isVisible();
    forEachLabel ([visible] (juce::Label& label) { label.setVisible (visible); });
}

void ClipperDiodes::parentHierarchyChanged()
{
    if (auto* parent = getParentComponent())
        forEachLabel ([parent] (juce::Label& label) { parent->addChildComponent (label); });
}

void ClipperDiodes::paint (juce::Graphics&)
{
}

void ClipperDiodes::resized()
{
    layout();
}

// The labels are placed in the parent's coordinates, so a move alone must carry them along.
void ClipperDiodes::moved()
{
    layout();
}

void ClipperDiodes::layout()
{
    const auto scale = (float) getWidth() * LowerRowGeometry::clipScalePerPixel;
    const auto lamps = LowerRowGeometry::lampsAt (scale);
    const auto clip = LowerRowGeometry::clipAt (scale);

    const auto lampEdge = lamps.lampEdge;
    const auto lampCentreY = lamps.lampCentreY;
    const auto leftX = clip.leftX;
    const auto rightX = clip.rightX;

    for (auto* lamp : std::initializer_list<juce::Component*> { &leftUnlitDiode, &rightUnlitDiode, &leftLitDiode, &rightLitDiode })
        lamp->setSize (lampEdge, lampEdge);

    leftUnlitDiode.setCentrePosition (leftX, lampCentreY);
    leftLitDiode.setCentrePosition (leftX, lampCentreY);
    rightUnlitDiode.setCentrePosition (rightX, lampCentreY);
    rightLitDiode.setCentrePosition (rightX, lampCentreY);

    const auto labelHeight = lamps.labelHeight;
    const juce::Font labelFont (lamps.labelFontHeight, juce::Font::bold);
    const auto labelCentreY = getY() + lamps.labelCentreY;

    for (auto [label, x] : { std::pair<DiodeLabel*, int> { &leftLabel, leftX }, { &rightLabel, rightX } })
    {
        label->setSize ((int) std::ceil (1.5f * labelFont.getStringWidthFloat (label->getText())), labelHeight);
        label->setBorderSize (juce::BorderSize<int> (0));
        label->setCentrePosition (getX() + x, labelCentreY);
        label->setFont (labelFont);
        label->setJustificationType (juce::Justification::centredTop);
    }

    nameLabel.setFont (juce::Font (0.735f * (float) clip.nameHeight, juce::Font::bold));
    nameLabel.setBounds (getX(), getY() + getHeight() - clip.nameTopFromBottom, getWidth(), clip.nameHeight);
    nameLabel.setJustificationType (juce::Justification::centred);
}

void ClipperDiodes::forEachLabel (const std::function<void (juce::Label&)>& action)
{
    action (nameLabel);
    action (leftLabel);
    action (rightLabel);
}
