#include "support/Rendering.h"

#include "widgets/HV_Random.h"

#include <vector>

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

std::optional<juce::Point<int>> findInvalidPremultipliedPixel (const juce::Image& image)
{
    // Only ARGB images store premultiplied alpha.
    if (! image.isValid() || image.getFormat() != juce::Image::ARGB)
        return std::nullopt;

    const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            // Raw stored values: getPixelColour would un-premultiply them.
            const auto* pixel = reinterpret_cast<const juce::PixelARGB*> (pixels.getPixelPointer (x, y));
            const auto alpha = pixel->getAlpha();

            if (pixel->getRed() > alpha || pixel->getGreen() > alpha || pixel->getBlue() > alpha)
                return juce::Point<int> (x, y);
        }
    }

    return std::nullopt;
}

namespace
{

void seedDrawingRandomness (unsigned int seed)
{
    HV_Random::seedSharedRandForTests (seed);
    HV_Random::setSeedForTests ((juce::int64) seed);
    HV_Random::setRandomSignSeedForTests ((juce::int64) seed);
}

/** The next few values of every source; enough that an unrelated coincidence is out of reach. */
std::vector<double> drawFromEverySource()
{
    std::vector<double> values;

    for (int i = 0; i < 8; ++i)
        values.push_back (HV_Random::nextSharedRand());
    for (int i = 0; i < 8; ++i)
        values.push_back (HV_Random::getNextFloat());
    for (int i = 0; i < 32; ++i)
        values.push_back (HV_Random::getRandomSign());

    return values;
}

} // namespace

DrawingRandomnessProbe::DrawingRandomnessProbe (unsigned int seedToUse) : seed (seedToUse)
{
    seedDrawingRandomness (seed);
}

bool DrawingRandomnessProbe::untouched() const
{
    const auto actual = drawFromEverySource();
    seedDrawingRandomness (seed);
    return actual == drawFromEverySource();
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

juce::Component* clickAt (juce::Component& root, juce::Point<float> position)
{
    auto* target = root.getComponentAt (position);

    if (target != nullptr)
    {
        const auto local = target->getLocalPoint (&root, position);
        pressAt (*target, local);
        releaseAt (*target, local, local);
    }

    return target;
}

} // namespace testing_support
