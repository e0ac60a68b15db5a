#include "editor/WindowButton.h"
#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <vector>

using testing_support::coloursNear;
using testing_support::describe;

namespace
{

/** Mid grey, so that both the dark window shape and the light corner show against it. */
constexpr juce::uint32 background = 0xff808080;

struct Probe
{
    juce::Point<int> at;
    juce::uint32 colour;
};

struct StateCase
{
    const char* what;
    bool on;
    juce::Button::ButtonState mouse;
    std::vector<Probe> probes;
};

std::ostream& operator<< (std::ostream& out, const StateCase& c) { return out << c.what; }

class WindowButtonStates : public ::testing::TestWithParam<StateCase>
{
};

// Points of a 36 x 36 button: one in the window shape (between the big arc from the top-left to
// the bottom-right corner and the two small arcs through the centre), one in the corner above
// the big arc, one below both; the centre of the cross, a point of the circle round it.
const juce::Point<int> window { 22, 13 }, corner { 33, 3 }, belowBoth { 5, 30 }, crossCentre { 18, 18 },
    circle { 8, 18 }, outsideCircle { 2, 33 };

// Over 0x80 grey: black at alpha 0x40, 0x60, 0x80 leaves 96, 80, 64; white at 0x66, 0x33 makes
// 179, 153.

} // namespace

TEST_P (WindowButtonStates, DrawnByToggleStateAndMouse)
{
    const auto c = GetParam();
    WindowButton button;
    button.setBounds (0, 0, 36, 36);
    button.setVisible (true);
    button.setToggleState (c.on, juce::dontSendNotification);
    button.setState (c.mouse);

    const auto image = testing_support::renderComponent (button, juce::Colour (background));

    for (const auto& probe : c.probes)
    {
        const auto actual = testing_support::pixelAt (image, probe.at.x, probe.at.y);
        EXPECT_TRUE (coloursNear (actual, juce::Colour (probe.colour), 3))
            << "at " << probe.at.x << ", " << probe.at.y << ": " << describe (actual) << ", expected "
            << describe (juce::Colour (probe.colour));
    }
}

INSTANTIATE_TEST_SUITE_P (
    SixStates, WindowButtonStates,
    ::testing::Values (
        StateCase { "off", false, juce::Button::buttonNormal,
                    { { window, 0xff606060 }, { corner, 0xffb3b3b3 }, { belowBoth, background } } },
        StateCase { "off under the mouse", false, juce::Button::buttonOver,
                    { { window, 0xff505050 }, { corner, 0xff999999 }, { belowBoth, background } } },
        StateCase { "off while pressed", false, juce::Button::buttonDown,
                    { { window, 0xff404040 }, { corner, background }, { belowBoth, background } } },
        StateCase { "on", true, juce::Button::buttonNormal,
                    { { crossCentre, 0xff808080 }, { circle, 0xff808080 }, { outsideCircle, background }, { corner, background } } },
        StateCase { "on under the mouse", true, juce::Button::buttonOver,
                    { { crossCentre, 0xff555555 }, { circle, 0xff555555 }, { outsideCircle, background }, { window, background } } },
        StateCase { "on while pressed", true, juce::Button::buttonDown,
                    { { crossCentre, 0xff9f9fa0 }, { circle, 0xff9f9fa0 }, { outsideCircle, background } } }));

// The close sign and the window shape scale with the button.
TEST (WindowButton, ScalesWithItsSize)
{
    WindowButton button;
    button.setBounds (0, 0, 72, 72);
    button.setVisible (true);
    button.setToggleState (true, juce::dontSendNotification);
    button.setState (juce::Button::buttonOver);

    auto image = testing_support::renderComponent (button, juce::Colour (background));
    EXPECT_TRUE (coloursNear (testing_support::pixelAt (image, 17, 36), juce::Colour (0xff555555), 3)); // circle
    EXPECT_TRUE (coloursNear (testing_support::pixelAt (image, 36, 36), juce::Colour (0xff555555), 3)); // cross
    EXPECT_TRUE (coloursNear (testing_support::pixelAt (image, 24, 36), juce::Colour (background), 3));  // between

    button.setToggleState (false, juce::dontSendNotification);
    button.setState (juce::Button::buttonNormal);
    image = testing_support::renderComponent (button, juce::Colour (background));
    EXPECT_TRUE (coloursNear (testing_support::pixelAt (image, 44, 26), juce::Colour (0xff606060), 3)); // window
    EXPECT_TRUE (coloursNear (testing_support::pixelAt (image, 66, 6), juce::Colour (0xffb3b3b3), 3));  // corner
}
