#include "editor/ChannelSwitch.h"

#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/EQ700K_Colours.h"

#include <cmath>

namespace
{

constexpr float designHeight = 25.313f;
constexpr int numPositions = 3;
constexpr int linkPosition = 0;

juce::Point<int> truncatedCentreOf (const juce::Component& component)
{
    return { (int) ((float) component.getX() + (float) component.getWidth() * 0.5f),
             (int) ((float) component.getY() + (float) component.getHeight() * 0.5f) };
}

} // namespace

ChannelSwitch::ChannelSwitch (int channel)
    : ownChannel (channel == 0 ? 0 : 1)
{
    minimum = 0.0f;
    maximum = (float) (numPositions - 1);
    // The view sets the same range; with it a position's value is the position itself.
    range = juce::NormalisableRange<float> (0.0f, (float) (numPositions - 1), 1.0f);

    channelButton = new HV_ChanelButton (&state);
    buttons.add (channelButton);
    channelButton->setToggleState (false, juce::dontSendNotification);
    channelButton->onClick = [this] { buttonClicked(); };
    addAndMakeVisible (channelButton);

    for (int i = 0; i < numPositions; ++i)
    {
        const auto select = [this, i] { selectPosition (i); };

        auto* lamp = positionDiodes.add (new ButtonDarkDiode());
        lamp->onClick = select;
        addAndMakeVisible (lamp);

        auto* label = positionLabels.add (new DiodeLabel());
        label->setColour (juce::Label::textColourId, juce::Colours::black);
        label->setJustificationType (juce::Justification::centredTop);
        label->setEditable (false, false);
        label->onClick = select;
    }

    // One lit lamp per position, above the position lamps; each lets clicks through to its lamp.
    while (lightDiodes.size() < numPositions)
        addChildComponent (lightDiodes.add (new ButtonLightDiode()));

    for (auto* lamp : lightDiodes)
    {
        lamp->setDiodeColour (EQ700K_Colours::redColour);
        lamp->setVisible (true);
    }

    nameColour = juce::Colours::black;
    nameLabel.setColour (juce::Label::textColourId, nameColour);
}

ChannelSwitch::~ChannelSwitch() = default;

void ChannelSwitch::layoutAllComponents()
{
    const auto scale = (float) getHeight() / designHeight;
    const auto R = [scale] (float length) { return juce::roundToInt (length * scale); };

    const auto buttonEdge = R (19.5f);
    const auto margin = R (0.803f);
    channelButton->setBounds (getWidth() - (buttonEdge + margin), R (4.753f), buttonEdge, buttonEdge);

    const auto lampEdge = R (9.3f);
    for (auto* lamp : lightDiodes)
        lamp->setSize (lampEdge, lampEdge);

    const auto labelHeight = R (7.5f);
    const juce::Font labelFont (0.735f * (float) labelHeight, juce::Font::bold);
    const auto lampCentreY = R (14.0f);
    const auto labelCentreY = getY() + R (8.5f);

    auto x = margin + R (6.5f);
    for (int i = 0; i < positionDiodes.size(); ++i)
    {
        if (i > 0)
            x += R (9.0f);

        positionDiodes[i]->setSize (lampEdge, lampEdge);
        positionDiodes[i]->setCentrePosition (x, lampCentreY);

        // "LINK" is long enough to need less room around it than the digits.
        auto& label = *positionLabels[i];
        const auto widthFactor = i == 0 ? 1.1f : 1.5f;
        label.setSize ((int) std::ceil (widthFactor * labelFont.getStringWidthFloat (label.getText())), labelHeight);
        label.setBorderSize (juce::BorderSize<int> (0));
        label.setCentrePosition (getX() + x, labelCentreY);
        label.setFont (labelFont);
        label.setJustificationType (juce::Justification::centredTop);
    }

    const auto nameHeight = R (9.0f);
    const juce::Font nameFont (0.8f * (float) nameHeight, juce::Font::bold);
    nameLabel.setFont (nameFont);
    nameLabel.setSize (juce::roundToInt (1.7f * nameFont.getStringWidthFloat (nameLabel.getText())), nameHeight);
    nameLabel.setCentrePosition (getX() + getWidth() + R (4.8f), getY() + lampCentreY);

    for (int i = 0; i < juce::jmin (lightDiodes.size(), positionDiodes.size()); ++i)
        lightDiodes[i]->setCentrePosition (truncatedCentreOf (*positionDiodes[i]));
}

void ChannelSwitch::layoutDiodes (float)
{
}

void ChannelSwitch::updateLightDiode()
{
    const auto current = state.load();
    const auto litPosition = doubleWindow && current != linkPosition ? ownChannel + 1 : current;

    for (int i = 0; i < lightDiodes.size(); ++i)
        lightDiodes[i]->setVisible (i == litPosition);
}

void ChannelSwitch::setDoubleWindow (bool isDouble)
{
    doubleWindow = isDouble;
    updateLightDiode();
}

void ChannelSwitch::selectPosition (int position)
{
    if (state.load() != position)
        updateCurrentState (position, juce::sendNotificationSync);
}

// The rules read the position, not its value in the range, so they hold whatever range the
// owner gives the switch.
void ChannelSwitch::buttonClicked()
{
    const auto current = state.load();

    // Called by the hold timer while it still runs: the press was held long enough.
    if (channelButton->isHolding())
    {
        if (current != linkPosition)
            updateCurrentState (linkPosition, juce::sendNotificationSync);
        return;
    }

    // Each window shows its own channel, so its button selects that one.
    if (doubleWindow)
    {
        if (current != ownChannel + 1)
            updateCurrentState (ownChannel + 1, juce::sendNotificationSync);
        return;
    }

    // LINK -> 1 -> 2 -> 1: LINK is reached by holding, or by its lamp or label.
    updateCurrentState (current == 1 ? 2 : 1, juce::sendNotificationSync);
}
