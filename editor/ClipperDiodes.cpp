#include "editor/ClipperDiodes.h"

#include "widgets/EQ700K_Colours.h"

#include <cmath>
#include <utility>

namespace
{

/** Pixels per design unit for each pixel of width: the design width is 18.5973. */
constexpr float scalePerPixel = 0.05377123f;

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
    const auto scale = (float) getWidth() * scalePerPixel;
    const auto R = [scale] (float length) { return juce::roundToInt (length * scale); };

    const auto lampEdge = R (9.3f);
    const auto lampCentreY = R (14.0f);
    const auto leftX = R (5.0f);
    const auto rightX = R (13.8f);

    for (auto* lamp : std::initializer_list<juce::Component*> { &leftUnlitDiode, &rightUnlitDiode, &leftLitDiode, &rightLitDiode })
        lamp->setSize (lampEdge, lampEdge);

    leftUnlitDiode.setCentrePosition (leftX, lampCentreY);
    leftLitDiode.setCentrePosition (leftX, lampCentreY);
    rightUnlitDiode.setCentrePosition (rightX, lampCentreY);
    rightLitDiode.setCentrePosition (rightX, lampCentreY);

    const auto labelHeight = R (7.5f);
    const juce::Font labelFont (0.735f * (float) labelHeight, juce::Font::bold);
    const auto labelCentreY = getY() + R (8.5f);

    for (auto [label, x] : { std::pair<DiodeLabel*, int> { &leftLabel, leftX }, { &rightLabel, rightX } })
    {
        label->setSize ((int) std::ceil (1.5f * labelFont.getStringWidthFloat (label->getText())), labelHeight);
        label->setBorderSize (juce::BorderSize<int> (0));
        label->setCentrePosition (getX() + x, labelCentreY);
        label->setFont (labelFont);
        label->setJustificationType (juce::Justification::centredTop);
    }

    const auto nameHeight = R (7.0f);
    nameLabel.setFont (juce::Font (0.735f * (float) nameHeight, juce::Font::bold));
    nameLabel.setBounds (getX(), getY() + getHeight() - R (9.0f), getWidth(), nameHeight);
    nameLabel.setJustificationType (juce::Justification::centred);
}

void ClipperDiodes::forEachLabel (const std::function<void (juce::Label&)>& action)
{
    action (nameLabel);
    action (leftLabel);
    action (rightLabel);
}
