#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

/** Headless drawing and mouse helpers shared by the widget and editor tests. */
namespace testing_support
{

/** Paints the component and its children into a new ARGB image of its own size (at least 1 x 1),
    cleared to the given background first. */
juce::Image renderComponent (juce::Component& component,
                             juce::Colour background = juce::Colours::transparentBlack);

/** Runs a drawing call on a new ARGB image of the given size, cleared to the background. */
juce::Image renderDrawing (int width, int height, const std::function<void (juce::Graphics&)>& draw,
                           juce::Colour background = juce::Colours::transparentBlack);

/** The pixel at (x, y) as a straight (not premultiplied) colour. */
juce::Colour pixelAt (const juce::Image& image, int x, int y);

/** True when each of the four channels differs by at most the tolerance. */
bool coloursNear (juce::Colour actual, juce::Colour expected, int tolerance);

/** Formats a colour as AARRGGBB for failure messages. */
std::string describe (juce::Colour colour);

/** The first pixel, row by row, whose stored (premultiplied) red, green or blue exceeds its
    alpha: such a pixel composites as a light speck. Nothing when every pixel is valid. */
std::optional<juce::Point<int>> findInvalidPremultipliedPixel (const juce::Image& image);

/** Seeds every random source of the kit's drawing code (HV_Random's generators and the shared
    rand() sequence) when made; untouched() then tells whether anything has drawn from them
    since. untouched() itself draws, so ask it once, at the end. */
class DrawingRandomnessProbe
{
public:
    explicit DrawingRandomnessProbe (unsigned int seed = 12345u);

    bool untouched() const;

private:
    unsigned int seed;
};

/** A made-up mouse event on the main mouse source, at a position in the component's own
    coordinates. */
juce::MouseEvent mouseEventAt (juce::Component& component, juce::Point<float> position,
                               juce::ModifierKeys modifiers = {}, int numberOfClicks = 1,
                               juce::Point<float> mouseDownPosition = { -1.0f, -1.0f },
                               bool wasDragged = false);

/** Delivers a made-up press, optional drag steps and release to the component directly
    (no real mouse is involved). */
void pressAt (juce::Component& component, juce::Point<float> position, juce::ModifierKeys modifiers = {});
void dragTo (juce::Component& component, juce::Point<float> from, juce::Point<float> to,
             juce::ModifierKeys modifiers = {});
void releaseAt (juce::Component& component, juce::Point<float> from, juce::Point<float> at,
                juce::ModifierKeys modifiers = {});

/** Delivers a made-up press and release at a point of root to the component that a real click
    there would reach (hit tests included, so a component that lets clicks through is passed
    over) and returns it; nullptr when the point misses root or root is not visible (a hidden
    component takes no clicks, and a new one is hidden). */
juce::Component* clickAt (juce::Component& root, juce::Point<float> position);

} // namespace testing_support
