#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{

/** A snapshot of a component that stands in for it while the animator moves or fades it.

    The proxy takes the component's place (behind it, in the same parent or on the desktop) and
    hides it; when the proxy goes, the component is shown again. It holds the component and its
    parent weakly, so a component deleted while its proxy still moves is never touched again.
*/
class HvProxyComponent : public Component
{
public:
    /** True when a proxy has somewhere to live: the component has a parent, or is a window. */
    static bool canStandInFor (const Component& component);

    explicit HvProxyComponent (Component& component);
    ~HvProxyComponent() override;

    void paint (Graphics& g) override;

    /** The snapshot it shows (null when the component had no area). */
    const Image& getSnapshot() const noexcept { return image; }

    /** The scale of the display under the given screen area, 1 when no display is found (no
        display attached, or the area is off every screen). */
    static float getDisplayScaleFor (Rectangle<int> screenArea);

private:
    std::unique_ptr<AccessibilityHandler> createAccessibilityHandler() override;
    void takeSnapshot (Component& component);

    SafePointer<Component> standsFor;
    SafePointer<Component> parentAtCreation;
    Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvProxyComponent)
};

} // namespace juce
