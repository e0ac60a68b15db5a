#include "widgets/EQ864_ButtonComp.h"

EQ864_ButtonComp::EQ864_ButtonComp()
    : button (std::make_unique<HV_Button_s500>()),
      unlitDiode (std::make_unique<ButtonDarkDiode>())
{
    button->onClick = [this]
    {
        lastPressedButton = 0;
        toggleStateChanged (*button);

        if (onToggled)
            onToggled();
    };
    addAndMakeVisible (*button);

    // Flipping the toggle state with a click notification runs the button's onClick as a click.
    unlitDiode->onClick = [this] { button->setToggleState (! button->getToggleState(), juce::sendNotification); };
    addAndMakeVisible (*unlitDiode);
    unlitDiode->setAlwaysOnTop (true);
}

void EQ864_ButtonComp::renderDefaultSize (const int& edge)
{
    button->size = (float) edge;
    button->halfSize = (float) edge / 2.0f;
    button->prepareButtonImage();
}

void EQ864_ButtonComp::setDiodeLabelColour (const juce::Colour&)
{
}

void EQ864_ButtonComp::toggleStateChanged (juce::Button& clicked)
{
    lightDiodes.getFirst()->setVisible (clicked.getToggleState());
}
