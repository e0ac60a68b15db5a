#include "support/Rendering.h"

namespace testing_support
{

juce::Image renderDrawing (int width, int height, const std::function<void (juce::Graphics&)>& draw,
                           juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, width), juce::jmax (1, height), true);
    juce::Graphics g (image);
    g.fillAll (background);
    draw (g);
    return image;
}

juce::Image renderComponent (juce::Component& component, juce::Colour background)
{
    return renderDrawing (component.getWidth(), component.getHeight(),
                          [&component] (juce::Graphics& g) { component.paintEntireComponent (g, false); },
                          background);
}

juce::Colour pixelAt (const juce::Image& image, int x, int y)
{
    // getPixelAt un-premultiplies.
    return image.getPixelAt (x, y);
}

bool coloursNear (juce::Colour actual, juce::Colour expected, int tolerance)
{
    const auto near = [tolerance] (juce::uint8 a, juce::uint8 b) { return std::abs ((int) a - (int) b) <= tolerance; };
    return near (actual.getAlpha(), expected.getAlpha()) && near (actual.getRed(), expected.getRed())
        && near (actual.getGreen(), expected.getGreen()) && near (actual.getBlue(), expected.getBlue());
}

std::string describe (juce::Colour colour)
{
    return colour.toDisplayString (true).toStdString();
}

juce::MouseEvent mouseEventAt (juce::Component& component, juce::Point<float> position,
                               juce::ModifierKeys modifiers, int numberOfClicks,
                               juce::Point<float> mouseDownPosition, bool wasDragged)
{
    const auto now = juce::Time::getCurrentTime();
    if (mouseDownPosition.x < 0.0f && mouseDownPosition.y < 0.0f)
        mouseDownPosition = position;

    return { juce::Desktop::getInstance().getMainMouseSource(),
             position,
             modifiers,
             juce::MouseInputSource::defaultPressure,
             juce::MouseInputSource::defaultOrientation,
             juce::MouseInputSource::defaultRotation,
             juce::MouseInputSource::defaultTiltX,
             juce::MouseInputSource::defaultTiltY,
             &component,
             &component,
             now,
             mouseDownPosition,
             now,
             numberOfClicks,
             wasDragged };
}

void pressAt (juce::Component& component, juce::Point<float> position, juce::ModifierKeys modifiers)
{
    component.mouseDown (mouseEventAt (component, position, modifiers.withFlags (juce::ModifierKeys::leftButtonModifier)));
}

void dragTo (juce::Component& component, juce::Point<float> from, juce::Point<float> to, juce::ModifierKeys modifiers)
{
    component.mouseDrag (mouseEventAt (component, to, modifiers.withFlags (juce::ModifierKeys::leftButtonModifier),
                                       1, from, true));
}

void releaseAt (juce::Component& component, juce::Point<float> from, juce::Point<float> at, juce::ModifierKeys modifiers)
{
    component.mouseUp (mouseEventAt (component, at, modifiers, 1, from, from != at));
}

} // namespace testing_support
