#include "editor/ChannelSwitch.h"

#include "core/ProductTable.h"
#include "editor/LowerRowGeometry.h"
#include "widgets/ButtonDarkDiode.h"
#include "widgets/ButtonLightDiode.h"
#include "widgets/EQ700K_Colours.h"

#include <cmath>

namespace
{

constexpr int numPositions = (int) ProductTable::channelSwitchLabels.size();
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
    const auto selector = LowerRowGeometry::channelSelectorAt (getHeight());
    const auto lamps = LowerRowGeometry::lampsAt ((float) getHeight() / LowerRowGeometry::designHeight);

    channelButton->setBounds (getWidth() - (selector.capEdge + selector.capMargin), selector.capY, selector.capEdge,
                              selector.capEdge);

    const auto lampEdge = lamps.lampEdge;
    for (auto* lamp : lightDiodes)
        lamp->setSize (lampEdge, lampEdge);

    const auto labelHeight = lamps.labelHeight;
    const juce::Font labelFont (lamps.labelFontHeight, juce::Font::bold);
    const auto lampCentreY = lamps.lampCentreY;
    const auto labelCentreY = getY() + lamps.labelCentreY;

    for (int i = 0; i < positionDiodes.size(); ++i)
    {
        const auto x = selector.lampX (i);

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

    const auto nameHeight = selector.nameHeight;
    const juce::Font nameFont (0.8f * (float) nameHeight, juce::Font::bold);
    nameLabel.setFont (nameFont);
    nameLabel.setSize (juce::roundToInt (1.7f * nameFont.getStringWidthFloat (nameLabel.getText())), nameHeight);
    nameLabel.setCentrePosition (getX() + getWidth() + selector.nameCentreXPastRight, getY() + lampCentreY);

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
