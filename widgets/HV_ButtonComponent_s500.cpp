#include "widgets/HV_ButtonComponent_s500.h"

#include "widgets/ButtonLightDiode.h"
#include "widgets/EQ700K_Colours.h"

HV_ButtonComponent_s500::HV_ButtonComponent_s500() : nameColour (EQ700K_Colours::panelFontColour)
{
    addChildComponent (lightDiodes.add (new ButtonLightDiode()));

    nameLabel.setColour (juce::Label::textColourId, nameColour);
    nameLabel.setJustificationType (nameJustification);
}

HV_ButtonComponent_s500::~HV_ButtonComponent_s500() = default;

void HV_ButtonComponent_s500::setButtonName (const juce::String& name)
{
    const auto lineBreak = name.indexOfChar ('\n');

    if (lineBreak >= 0)
    {
        secondNameLabel = std::make_unique<juce::Label>();
        // Hidden controls keep their second line hidden too.
        secondNameLabel->setVisible (isVisible());
        nameLabel.setText (name.substring (0, lineBreak), juce::dontSendNotification);
        secondNameLabel->setText (name.substring (lineBreak + 1), juce::dontSendNotification);
    }
    else
    {
        secondNameLabel.reset();
        nameLabel.setText (name, juce::dontSendNotification);
    }

    nameLabel.setEditable (false, false);
    forEachNameLabel ([this] (juce::Label& label)
    {
        label.setColour (juce::Label::textColourId, nameColour);
        label.setJustificationType (nameJustification);
    });
}

void HV_ButtonComponent_s500::visibilityChanged()
{
    const auto visible = isVisible();
    forEachNameLabel ([visible] (juce::Label& label) { label.setVisible (visible); });

    if (visible)
    {
        setAlwaysOnTop (true);
        for (auto* lamp : lightDiodes)
            lamp->setAlwaysOnTop (true);
    }

    if (onVisibilityChanged)
        onVisibilityChanged();
}

void HV_ButtonComponent_s500::parentHierarchyChanged()
{
    auto* parent = getParentComponent();
    if (parent == nullptr)
        return;

    forEachNameLabel ([parent] (juce::Label& label) { parent->addChildComponent (label); });

    if (onParentHierarchyChanged)
        onParentHierarchyChanged();
}

void HV_ButtonComponent_s500::paint (juce::Graphics&)
{
}

void HV_ButtonComponent_s500::resized()
{
    layoutAllComponents();
}

// The satellites are placed in the parent's coordinates, so a move alone must carry them along.
void HV_ButtonComponent_s500::moved()
{
    layoutAllComponents();
}

void HV_ButtonComponent_s500::forEachNameLabel (const std::function<void (juce::Label&)>& action)
{
    action (nameLabel);
    if (secondNameLabel != nullptr)
        action (*secondNameLabel);
}
