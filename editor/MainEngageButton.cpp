#include "editor/MainEngageButton.h"

#include "widgets/EQ700K_Colours.h"

#include <cmath>

namespace
{

constexpr float designHeight = 25.313f;

} // namespace

MainEngageButton::MainEngageButton()
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);

    nameColour = juce::Colours::black;
    nameLabel.setColour (juce::Label::textColourId, nameColour);
}

void MainEngageButton::layoutAllComponents()
{
    const auto scale = (float) getHeight() / designHeight;
    const auto R = [scale] (float length) { return juce::roundToInt (length * scale); };

    const auto buttonEdge = R (19.5f);
    button->setBounds (juce::roundToInt (0.0625f * (float) getWidth()), (getHeight() - buttonEdge) / 2, buttonEdge, buttonEdge);

    const auto lampEdge = R (9.3f);
    for (auto* lamp : { (juce::Component*) lightDiodes.getFirst(), (juce::Component*) unlitDiode.get() })
    {
        lamp->setSize (lampEdge, lampEdge);
        lamp->setCentrePosition (R (26.6f), R (12.6f));
    }

    const auto labelHeight = R (7.5f);
    const juce::Font font (0.735f * (float) labelHeight, juce::Font::bold);
    nameLabel.setSize (juce::roundToInt (1.25f * font.getStringWidthFloat (nameLabel.getText())), labelHeight);
    nameLabel.setBorderSize (juce::BorderSize<int> (0));
    nameLabel.setCentrePosition (getX() + R (35.6f),
                                 (int) ((float) (getY() + getHeight()) + 0.5f * (float) labelHeight - (float) R (22.2f)));
    nameLabel.setFont (font);
    nameLabel.setJustificationType (juce::Justification::topLeft);
}
