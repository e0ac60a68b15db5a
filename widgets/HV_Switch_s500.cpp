#include "widgets/HV_Switch_s500.h"

#include "widgets/ButtonDarkDiode.h"

#include <cmath>

namespace
{

constexpr float designHeight = 37.5f;

void followVisibility (juce::Component& satellite, bool visible)
{
    satellite.setVisible (visible);
    satellite.setAlwaysOnTop (visible);
}

} // namespace

HV_Switch_s500::HV_Switch_s500()
{
    onParentHierarchyChanged = [this]
    {
        if (auto* parent = getParentComponent())
        {
            for (auto* label : positionLabels)
            {
                parent->addChildComponent (label);
                label->setAlwaysOnTop (true);
            }
        }
    };

    onVisibilityChanged = [this]
    {
        for (auto* label : positionLabels)
            followVisibility (*label, isVisible());
    };
}

HV_Switch_s500::HV_Switch_s500 (const size_t& numButtons, const size_t& numPositions, bool) : HV_Switch_s500()
{
    const auto positions = juce::jmax ((size_t) 1, numPositions);
    maximum = (float) (positions - 1);

    for (size_t i = 0; i < positions; ++i)
    {
        const auto index = (int) i;
        const auto select = [this, index] { updateCurrentState (index, juce::sendNotificationSync); };

        auto* lamp = positionDiodes.add (new ButtonDarkDiode());
        lamp->onClick = select;
        addAndMakeVisible (lamp);

        auto* label = positionLabels.add (new DiodeLabel());
        label->setColour (juce::Label::textColourId, nameColour);
        label->setJustificationType (juce::Justification::centred);
        label->setEditable (false, false);
        label->onClick = select;
    }

    lightDiodes.getFirst()->setVisible (true);

    for (size_t i = 0; i < numButtons; ++i)
    {
        const auto index = (int) i;
        auto* button = buttons.add (new HV_Button_s500());
        button->setTriggeredOnMouseDown (true);
        button->setRepeatSpeed (400, 125, -1);
        button->onClick = [this, index, button]
        {
            lastPressedButton = index;
            toggleStateChanged (*button);
        };
        button->setToggleState (false, juce::dontSendNotification);
        addAndMakeVisible (button);
    }
}

HV_Switch_s500::~HV_Switch_s500()
{
    // The callbacks reach the position labels, which go before the base's members do.
    onParentHierarchyChanged = nullptr;
    onVisibilityChanged = nullptr;
}

void HV_Switch_s500::renderDefaultSize (const int& edge)
{
    for (auto* button : buttons)
    {
        button->size = (float) edge;
        button->halfSize = (float) edge / 2.0f;
        button->prepareButtonImage();
    }
}

void HV_Switch_s500::setDiodeLabelColour (const juce::Colour& colour)
{
    for (auto* label : positionLabels)
        label->setColour (juce::Label::textColourId, colour);
}

void HV_Switch_s500::toggleStateChanged (juce::Button&)
{
    updateCurrentState (-1, juce::sendNotificationSync);
}

void HV_Switch_s500::updateCurrentState (int index, juce::NotificationType notification)
{
    const auto lastPosition = juce::jmax (0, getNumPositions() - 1);

    if (index >= 0)
    {
        state = juce::jmin (index, lastPosition);
    }
    else if (buttons.size() >= 2)
    {
        const auto current = state.load();

        if (lastPressedButton == 0 && current > 0)
            state = current - 1;
        else if (lastPressedButton == 1 && current < lastPosition)
            state = current + 1;
    }
    else
    {
        state = (state + 1) % (lastPosition + 1);
    }

    updateLightDiode();

    if (notification != juce::dontSendNotification && onStateChanged)
        onStateChanged();
}

void HV_Switch_s500::setValue (float value, juce::NotificationType)
{
    // A range without extent says nothing about the position.
    if (! (range.end > range.start))
        return;

    const auto legal = range.snapToLegalValue (value);
    const auto position = juce::roundToInt ((legal - range.start) * (maximum - minimum) / (range.end - range.start) + minimum);

    updateCurrentState (clampedPosition (position), juce::dontSendNotification);
}

void HV_Switch_s500::setDiodeLabelsText (const juce::StringArray& texts)
{
    for (int i = 0; i < positionLabels.size(); ++i)
        positionLabels[i]->setText (texts[i], juce::dontSendNotification);
}

void HV_Switch_s500::layoutAllComponents()
{
    const auto scale = (float) getHeight() / designHeight;

    layoutButtons (scale);
    layoutDiodes (scale);
    layoutNameLabels (scale);
    updateLightDiode();
}

void HV_Switch_s500::layoutButtons (float scale)
{
    const auto edge = juce::roundToInt (19.5f * scale);
    const auto centreY = getHeight() - edge / 2;

    if (buttons.size() == 1)
    {
        buttons[0]->setSize (edge, edge);
        buttons[0]->setCentrePosition (getWidth() / 2, centreY);
    }
    else if (buttons.size() == 2)
    {
        const auto gap = juce::roundToInt (18.5f * scale);

        for (auto* button : buttons)
            button->setSize (edge, edge);

        buttons[0]->setCentrePosition ((getWidth() - gap) / 2, centreY);
        buttons[1]->setCentrePosition ((getWidth() + gap) / 2, centreY);
    }
}

void HV_Switch_s500::layoutNameLabels (float scale)
{
    const auto height = juce::roundToInt (6.0f * scale);

    const auto fit = [height] (juce::Label& label, float fontHeight)
    {
        const juce::Font font (fontHeight, juce::Font::bold);
        label.setFont (font);
        label.setSize ((int) std::ceil (1.25f * font.getStringWidthFloat (label.getText())), height);
        label.setBorderSize (juce::BorderSize<int> (0));
    };

    fit (nameLabel, 0.95f * (float) height);

    const auto centreX = getX() + getWidth() / 2;

    if (secondNameLabel != nullptr)
    {
        fit (*secondNameLabel, 0.9f * (float) height);
        const auto centreY = getY() + juce::roundToInt (9.4f * scale) + height / 2;
        nameLabel.setCentrePosition (centreX, centreY);
        secondNameLabel->setCentrePosition (centreX, centreY + juce::roundToInt (5.8f * scale));
    }
    else
    {
        nameLabel.setCentrePosition (centreX, getY() + height / 2 + juce::roundToInt (11.0f * scale));
    }
}

void HV_Switch_s500::updateLightDiode()
{
    if (lightDiodes.isEmpty() || positionDiodes.isEmpty())
        return;

    const auto* lamp = positionDiodes[clampedPosition (state)];
    lightDiodes.getFirst()->setCentrePosition ((int) ((float) lamp->getX() + (float) lamp->getWidth() * 0.5f),
                                               (int) ((float) lamp->getY() + (float) lamp->getHeight() * 0.5f));
}

int HV_Switch_s500::clampedPosition (int position) const noexcept
{
    return juce::jlimit (0, juce::jmax (0, getNumPositions() - 1), position);
}
