#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

namespace juce
{

/** Moves components to new bounds and fades them to a new alpha over a given time, with an eased
    speed profile, stepped from the display refresh of the animated component's window.

    Change listeners are told (asynchronously, coalesced) when a task is created and when one
    finishes, and on cancelling when asked for; they tell running from finished with
    isAnimating().

    The motion is advanced by step(), which the display refresh calls with the current millisecond
    counter. Without a window the refresh never comes; step() can then be called with any time,
    measured on the clock of Time::getMillisecondCounter() (getLastStepTime() gives the base).

    Message thread only.
*/
class HvVBlankComponentAnimator : public ChangeBroadcaster,
                                  private ComponentListener
{
public:
    class AnimationTask;

    HvVBlankComponentAnimator();
    ~HvVBlankComponentAnimator() override;

    /** Starts an animation of the component, or re-aims the one it already has: its time starts
        again at 0 from where it is now. A duration of 0 or less is taken as 1 ms. Speeds are
        relative: 0 starts or ends at rest, 1 and 1 give a constant speed. With a proxy, a snapshot
        moves in the component's place (see HvProxyComponent); a component with nowhere to put a
        proxy moves itself. A null component is ignored. */
    void animateComponent (Component* component, const Rectangle<int>& finalBounds, float finalAlpha,
                           int millisecondsToSpendMoving, bool useProxyComponent,
                           double startSpeed, double endSpeed);

    /** Ends every task, optionally moving the components to their destinations first, and
        optionally with a change message. */
    void cancelAllAnimations (bool moveComponentsToTheirFinalPositions, bool sendChangeMessageNow);

    /** The milliseconds the component's task has run, 0 when it has none. */
    int getTaskElapsedMs (Component* component) const;

    /** True while the component has a task (its animation has not finished or been cancelled). */
    bool isAnimating (Component* component) const;

    /** Advances every task to the given time of the millisecond counter. */
    void step (uint32 nowMs);

    /** The millisecond-counter time the next step measures from (0 before the first). */
    uint32 getLastStepTime() const noexcept { return lastStepTime; }

private:
    AnimationTask* findTaskFor (Component* component) const;
    std::unique_ptr<AnimationTask> takeTask (AnimationTask* task);
    std::vector<WeakReference<AnimationTask>> weakTasks (bool newestFirst) const;

    void attachToDisplayOf (Component* component);
    void detachFromDisplay();
    void componentBeingDeleted (Component& component) override;

    std::vector<std::unique_ptr<AnimationTask>> tasks;
    uint32 lastStepTime = 0;
    VBlankAttachment attachment;
    Component* attachedComponent = nullptr; // followed through componentBeingDeleted

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvVBlankComponentAnimator)
};

} // namespace juce
