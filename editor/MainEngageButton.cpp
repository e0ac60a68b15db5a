#include "editor/MainEngageButton.h"

#include "editor/LowerRowGeometry.h"
#include "widgets/EQ700K_Colours.h"

MainEngageButton::MainEngageButton()
{
    lightDiodes.getFirst()->setDiodeColour (EQ700K_Colours::redColour);

    nameColour = juce::Colours::black;
    nameLabel.setColour (juce::Label::textColourId, nameColour);
}

void MainEngageButton::layoutAllComponents()
{
    const auto engage = LowerRowGeometry::engageAt (getWidth(), getHeight());
    const auto lamps = LowerRowGeometry::lampsAt ((float) getHeight() / LowerRowGeometry::designHeight);

    button->setBounds (engage.capX, engage.capY, engage.capEdge, engage.capEdge);

    for (auto* lamp : { (juce::Component*) lightDiodes.getFirst(), (juce::Component*) unlitDiode.get() })
    {
        lamp->setSize (lamps.lampEdge, lamps.lampEdge);
        lamp->setCentrePosition (engage.lampCentreX, engage.lampCentreY);
    }

    const auto labelHeight = lamps.labelHeight;
    const juce::Font font (lamps.labelFontHeight, juce::Font::bold);
    nameLabel.setSize (juce::roundToInt (1.25f * font.getStringWidthFloat (nameLabel.getText())), labelHeight);
    nameLabel.setBorderSize (juce::BorderSize<int> (0));
    nameLabel.setCentrePosition (getX() + engage.nameCentreX, engage.nameCentreY (getY(), getHeight(), labelHeight));
    nameLabel.setFont (font);
    nameLabel.setJustificationType (juce::Justification::topLeft);
}
