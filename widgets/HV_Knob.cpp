#include "widgets/HV_Knob.h"

#include "widgets/HV_Knob_LAF.h"

#include <utility>

HV_Knob::HV_Knob() = default;

HV_Knob::~HV_Knob()
{
    // A press on a click area that is still held gets its release now, while the knob and its
    // callbacks are whole.
    clearScaleClickAreas();

    setLookAndFeel (nullptr);
    knobLaf.reset();
}

void HV_Knob::mouseEnter (const juce::MouseEvent& event)
{
    if (onKnobMouseEnter)
        onKnobMouseEnter();

    juce::Slider::mouseEnter (event);
}

void HV_Knob::mouseExit (const juce::MouseEvent& event)
{
    if (onKnobMouseExit)
        onKnobMouseExit();

    juce::Slider::mouseExit (event);
}

void HV_Knob::mouseDoubleClick (const juce::MouseEvent&)
{
}

void HV_Knob::parentHierarchyChanged()
{
    if (! prmsDefined)
        defineSliderPrms ({}, { "0", "1" }, 0.0f, 1.0f, 0.01f, 0.0f, 0.1f);

    showSatellitesInParent();
}

bool HV_Knob::hitTest (int x, int y)
{
    const auto radius = (float) (getWidth() / 2);
    const juce::Point<float> centre ((float) (getWidth() / 2), (float) (getHeight() / 2));
    return radius > juce::Point<float> ((float) x, (float) y).getDistanceFrom (centre);
}

void HV_Knob::lookAndFeelChanged()
{
}

void HV_Knob::resized()
{
    const auto size = juce::jmax (getWidth(), getHeight());

    if (size < 2)
        return;

    setSliderBounds (getX(), getY(), size);
}

void HV_Knob::setSliderAffineTransform (const juce::AffineTransform& transform)
{
    setTransform (transform);
    nameLabel.setTransform (transform);

    for (auto* lamp : scaleLamps)
        lamp->setTransform (transform);

    for (auto* label : scaleLabels)
        label->setTransform (transform);
}

void HV_Knob::setKnobLaf (std::unique_ptr<HV_Knob_LAF> laf)
{
    // The previous one goes only once the knob no longer uses it.
    const auto previous = std::exchange (knobLaf, std::move (laf));
    setLookAndFeel (knobLaf.get());
}

void HV_Knob::clearScaleClickAreas()
{
    auto anyHeld = false;

    for (auto* label : scaleLabels)
        anyHeld = label->endOpenGesture() || anyHeld;

    for (auto* lamp : scaleLamps)
        anyHeld = lamp->endOpenGesture() || anyHeld;

    scaleLabels.clear();
    scaleLamps.clear();

    if (anyHeld)
        endDragStartedThroughArea();
}

void HV_Knob::endDragStartedThroughArea()
{
    // The slider ignores the event's details on release.
    const auto now = juce::Time::getCurrentTime();
    const juce::MouseEvent release (juce::Desktop::getInstance().getMainMouseSource(), {}, {},
                                    juce::MouseInputSource::defaultPressure,
                                    juce::MouseInputSource::defaultOrientation,
                                    juce::MouseInputSource::defaultRotation,
                                    juce::MouseInputSource::defaultTiltX,
                                    juce::MouseInputSource::defaultTiltY,
                                    this, this, now, {}, now, 1, false);
    juce::Slider::mouseUp (release);
}

void HV_Knob::addScaleMark (const juce::String& text, double value)
{
    auto* label = scaleLabels.add (std::make_unique<SliderRulerLabel>());
    label->text = text;
    label->value = value;
    label->isActive = true;
    label->addMouseListener (this, true);

    auto* lamp = scaleLamps.add (std::make_unique<SliderRulerDiode>());
    lamp->value = value;
    lamp->isActive = true;
    lamp->addMouseListener (this, true);
}

void HV_Knob::showSatellitesInParent()
{
    auto* parent = getParentComponent();

    if (parent == nullptr)
        return;

    // addAndMakeVisible leaves a satellite that is already there where it is.
    parent->addAndMakeVisible (nameLabel);

    for (auto* label : scaleLabels)
        parent->addAndMakeVisible (label);

    for (auto* lamp : scaleLamps)
        parent->addAndMakeVisible (lamp);
}

void HV_Knob::layOutAgain()
{
    if (juce::jmax (getWidth(), getHeight()) < 2)
        return;

    resized();
    repaint();
}
