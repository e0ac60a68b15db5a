#include "widgets/HvProxyComponent.h"

#include <cmath>

namespace juce
{

bool HvProxyComponent::canStandInFor (const Component& component)
{
    return component.getParentComponent() != nullptr
        || (component.isOnDesktop() && component.getPeer() != nullptr);
}

HvProxyComponent::HvProxyComponent (Component& component)
    : standsFor (&component),
      parentAtCreation (component.getParentComponent())
{
    setWantsKeyboardFocus (false);
    setBounds (component.getBounds());
    setTransform (component.getTransform());
    setAlpha (component.getAlpha());
    setInterceptsMouseClicks (false, false);

    if (parentAtCreation != nullptr)
        parentAtCreation->addAndMakeVisible (this);
    else if (component.isOnDesktop())
        if (auto* peer = component.getPeer())
            addToDesktop (peer->getStyleFlags() | ComponentPeer::windowIgnoresKeyPresses);

    takeSnapshot (component);

    if (component.isVisible())
    {
        setVisible (true);
        toBehind (&component);
        component.setVisible (false);
    }
}

HvProxyComponent::~HvProxyComponent()
{
    if (! isVisible())
        return;

    setVisible (false);

    if (parentAtCreation != nullptr)
        parentAtCreation->removeChildComponent (this);

    if (standsFor != nullptr)
        standsFor->setVisible (true);
}

float HvProxyComponent::getDisplayScaleFor (Rectangle<int> screenArea)
{
    if (auto* display = Desktop::getInstance().getDisplays().getDisplayForRect (screenArea))
        return (float) display->scale;

    return 1.0f;
}

void HvProxyComponent::takeSnapshot (Component& component)
{
    const auto scale = getDisplayScaleFor (getScreenBounds())
                     * Component::getApproximateScaleFactorForComponent (&component);

    // A snapshot that would round to no pixels is skipped: an empty image is illegal.
    const auto area = component.getLocalBounds();
    if (! std::isfinite (scale) || roundToInt (scale * (float) area.getWidth()) < 1
        || roundToInt (scale * (float) area.getHeight()) < 1)
        return;

    image = component.createComponentSnapshot (area, false, scale);
}

void HvProxyComponent::paint (Graphics& g)
{
    g.setOpacity (1.0f);
    g.drawImageTransformed (image,
                            AffineTransform::scale ((float) getWidth() / (float) jmax (1, image.getWidth()),
                                                    (float) getHeight() / (float) jmax (1, image.getHeight())),
                            false);
}

std::unique_ptr<AccessibilityHandler> HvProxyComponent::createAccessibilityHandler()
{
    return createIgnoredAccessibilityHandler (*this);
}

} // namespace juce
