#include "support/MessagePump.h"
#include "support/Rendering.h"
#include "widgets/EQ864_ButtonComp.h"

#include <gtest/gtest.h>

using testing_support::clickAt;

namespace
{

/** The button on the left, both lamps on one spot to its right. */
class SimpleOnOff : public EQ864_ButtonComp
{
public:
    using EQ864_ButtonComp::lastPressedButton;
    using EQ864_ButtonComp::lightDiodes;
    using EQ864_ButtonComp::unlitDiode;

    ButtonDiode& litLamp() { return *lightDiodes.getFirst(); }

protected:
    void layoutAllComponents() override
    {
        const auto edge = getHeight();
        button->setBounds (0, 0, edge, edge);
        for (auto* lamp : { (juce::Component*) unlitDiode.get(), (juce::Component*) &litLamp() })
        {
            lamp->setSize (edge / 2, edge / 2);
            lamp->setCentrePosition (edge + edge / 2, edge / 2);
        }
    }
};

enum class Input
{
    buttonClick,
    unlitLampClick,
    setWithClick,
    setSilently
};

struct ToggleCase
{
    const char* what;
    bool startOn;
    Input input;
    bool expectedOn, litLampShown;
    int toggled;
};

std::ostream& operator<< (std::ostream& out, const ToggleCase& c) { return out << c.what; }

class OnOffControl : public ::testing::TestWithParam<ToggleCase>
{
};

} // namespace

TEST_P (OnOffControl, TheLitLampShowsTheToggleState)
{
    const auto c = GetParam();
    juce::Component parent;
    parent.setBounds (0, 0, 100, 50);
    parent.setVisible (true);
    SimpleOnOff control;
    parent.addAndMakeVisible (control);
    control.setBounds (10, 10, 60, 25);

    auto& button = control.getButton();
    button.setToggleState (c.startOn, juce::dontSendNotification);
    control.toggleStateChanged (button);
    control.lastPressedButton = 7;

    int toggled = 0;
    control.onToggled = [&] { ++toggled; };

    switch (c.input)
    {
        case Input::buttonClick:
            button.triggerClick();
            testing_support::pumpPendingMessages();
            break;
        case Input::unlitLampClick:
        {
            // The lit lamp, shown or not, lets the click through.
            const auto centre = parent.getLocalPoint (control.unlitDiode.get(), control.unlitDiode->getLocalBounds().getCentre().toFloat());
            EXPECT_EQ (clickAt (parent, centre), control.unlitDiode.get());
            break;
        }
        case Input::setWithClick: button.setToggleState (c.expectedOn, juce::sendNotification); break;
        case Input::setSilently:  button.setToggleState (c.expectedOn, juce::dontSendNotification); break;
    }

    EXPECT_EQ (button.getToggleState(), c.expectedOn);
    EXPECT_EQ (control.litLamp().isVisible(), c.litLampShown);
    EXPECT_EQ (toggled, c.toggled);
    if (c.toggled > 0)
    {
        EXPECT_EQ (control.lastPressedButton, 0);
    }
}

INSTANTIATE_TEST_SUITE_P (
    Inputs, OnOffControl,
    ::testing::Values (
        ToggleCase { "a click turns it on", false, Input::buttonClick, true, true, 1 },
        ToggleCase { "a click turns it off", true, Input::buttonClick, false, false, 1 },
        ToggleCase { "the unlit lamp turns it on", false, Input::unlitLampClick, true, true, 1 },
        ToggleCase { "the unlit lamp below the lit one turns it off", true, Input::unlitLampClick, false, false, 1 },
        ToggleCase { "an owner's change with a click notification", false, Input::setWithClick, true, true, 1 },
        ToggleCase { "an owner's silent change leaves the lamp", false, Input::setSilently, true, false, 0 }));

TEST (EQ864_ButtonComp, StartsOffWithTheLitLampOnTopOnceShown)
{
    juce::Component parent;
    SimpleOnOff control;
    EXPECT_FALSE (control.getButton().getToggleState());
    EXPECT_FALSE (control.litLamp().isVisible());
    EXPECT_TRUE (control.unlitDiode->isVisible());

    parent.addAndMakeVisible (control);
    EXPECT_EQ (control.getChildComponent (control.getNumChildComponents() - 1), &control.litLamp());
}

TEST (EQ864_ButtonComp, RenderDefaultSizeRendersWithoutMovingTheButton)
{
    SimpleOnOff control;
    control.setBounds (0, 0, 60, 25);
    control.renderDefaultSize (50);

    EXPECT_FLOAT_EQ (control.getButton().size, 50.0f);
    EXPECT_FLOAT_EQ (control.getButton().halfSize, 25.0f);
    EXPECT_EQ (control.getButton().getBounds(), juce::Rectangle<int> (0, 0, 25, 25));
}
