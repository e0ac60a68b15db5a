#include "widgets/HvVBlankComponentAnimator.h"

#include "widgets/HvProxyComponent.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace juce
{

namespace
{
    /** Speeds below 0 (or not numbers) count as 0, so the profile always covers the full way. */
    double sanitisedSpeed (double speed)
    {
        return std::isfinite (speed) ? jmax (0.0, speed) : 0.0;
    }
} // namespace

//==============================================================================
class HvVBlankComponentAnimator::AnimationTask
{
public:
    enum class StepResult
    {
        busy,
        finished,
        deletedMeanwhile
    };

    explicit AnimationTask (Component& c) : component (&c) {}

    ~AnimationTask()
    {
        // A task being destroyed is already gone for anyone who looks (its proxy's
        // destruction shows the component again, which may call back into the animator).
        masterReference.clear();
        proxy.deleteAndZero();
    }

    /** Aims the task at a new destination, its time starting at 0. Stops early when a callback
        it caused deleted the task or its component. */
    void reset (const Rectangle<int>& finalBounds, float finalAlpha, int milliseconds, bool useProxy,
                double startSpd, double endSpd)
    {
        msElapsed = 0;
        msTotal = jmax (1, milliseconds);
        lastProgress = 0.0;
        destination = finalBounds;
        destAlpha = finalAlpha;

        isMoving = finalBounds != component->getBounds();
        isChangingAlpha = finalAlpha != component->getAlpha();

        takeStartFromComponent();

        startSpd = sanitisedSpeed (startSpd);
        endSpd = sanitisedSpeed (endSpd);
        const auto invTotalDistance = 4.0 / (startSpd + endSpd + 2.0);
        startSpeed = startSpd * invTotalDistance;
        midSpeed = invTotalDistance;
        endSpeed = endSpd * invTotalDistance;

        const WeakReference<AnimationTask> self (this);
        proxy.deleteAndZero();

        if (self.wasObjectDeleted() || component == nullptr)
            return;

        if (useProxy && HvProxyComponent::canStandInFor (*component))
            proxy = new HvProxyComponent (*component);

        if (self.wasObjectDeleted() || component == nullptr)
            return;

        component->setVisible (proxy == nullptr);
    }

    /** Advances the task by the given time and moves its target. */
    StepResult advance (int elapsedMs)
    {
        Component::SafePointer<Component> target (proxy != nullptr ? static_cast<Component*> (proxy.getComponent())
                                                        : component.get());
        if (target == nullptr)
            return finish();

        msElapsed = (int) jlimit<int64> (std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                         (int64) msElapsed + elapsedMs);
        const auto progress = msElapsed / (double) msTotal;

        if (progress >= 0.0 && progress < 1.0)
        {
            const WeakReference<AnimationTask> self (this);
            const auto distance = timeToDistance (progress);
            const auto delta = (distance - lastProgress) / (1.0 - lastProgress);
            lastProgress = distance;

            if (delta < 1.0)
            {
                bool stillBusy = false;

                if (isMoving)
                {
                    left += (destination.getX() - left) * delta;
                    top += (destination.getY() - top) * delta;
                    right += (destination.getRight() - right) * delta;
                    bottom += (destination.getBottom() - bottom) * delta;

                    const auto newBounds = roundedCurrentBounds();

                    if (newBounds != destination)
                    {
                        target->setBounds (newBounds);
                        stillBusy = true;
                    }
                }

                // A callback of setBounds may have cancelled the animations.
                if (self.wasObjectDeleted())
                    return StepResult::deletedMeanwhile;

                if (isChangingAlpha && target != nullptr)
                {
                    alpha += (destAlpha - alpha) * delta;
                    target->setAlpha ((float) alpha);
                    stillBusy = true;

                    if (self.wasObjectDeleted())
                        return StepResult::deletedMeanwhile;
                }

                if (stillBusy)
                    return StepResult::busy;
            }
        }

        return finish();
    }

    /** Puts the component at its destination. Returns false when a callback deleted the task. */
    bool moveToFinalDestination()
    {
        if (component == nullptr)
            return true;

        const WeakReference<AnimationTask> self (this);
        component->setAlpha ((float) destAlpha);

        if (self.wasObjectDeleted())
            return false;

        if (component != nullptr)
            component->setBounds (destination);

        if (self.wasObjectDeleted())
            return false;

        if (proxy != nullptr && component != nullptr)
            component->setVisible (destAlpha > 0.0);

        return ! self.wasObjectDeleted();
    }

    /** The component if it lives, else its proxy: something on screen to step from. */
    Component* getAnchor() const
    {
        if (auto* c = component.get())
            return c;

        return proxy.getComponent();
    }

    WeakReference<Component> component;
    Component::SafePointer<HvProxyComponent> proxy;

    Rectangle<int> destination;
    double destAlpha = 1.0;

    int msElapsed = 0, msTotal = 1;
    double startSpeed = 0.0, midSpeed = 0.0, endSpeed = 0.0, lastProgress = 0.0;
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0, alpha = 1.0;
    bool isMoving = false, isChangingAlpha = false;

private:
    StepResult finish()
    {
        return moveToFinalDestination() ? StepResult::finished : StepResult::deletedMeanwhile;
    }

    Rectangle<int> roundedCurrentBounds() const
    {
        return { roundToInt (left), roundToInt (top), roundToInt (right - left), roundToInt (bottom - top) };
    }

    /** A task that is re-aimed goes on from its unrounded position while its component still sits
        where the task put it; otherwise (a new task, a proxy, or a component moved by someone else)
        it starts from the component's bounds. */
    void takeStartFromComponent()
    {
        const auto bounds = component->getBounds();
        const auto continuesInPlace = hasStarted && proxy == nullptr && bounds == roundedCurrentBounds();

        if (! continuesInPlace)
        {
            left = bounds.getX();
            top = bounds.getY();
            right = bounds.getRight();
            bottom = bounds.getBottom();
        }

        if (! (continuesInPlace && (float) alpha == component->getAlpha()))
            alpha = component->getAlpha();

        hasStarted = true;
    }

    double timeToDistance (double time) const noexcept
    {
        return time < 0.5 ? time * (startSpeed + time * (midSpeed - startSpeed))
                          : 0.5 * (startSpeed + 0.5 * (midSpeed - startSpeed))
                                + (time - 0.5) * (midSpeed + (time - 0.5) * (endSpeed - midSpeed));
    }

    bool hasStarted = false;

    JUCE_DECLARE_WEAK_REFERENCEABLE (AnimationTask)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AnimationTask)
};

//==============================================================================
HvVBlankComponentAnimator::HvVBlankComponentAnimator() = default;

HvVBlankComponentAnimator::~HvVBlankComponentAnimator()
{
    detachFromDisplay();

    // Taken out of the list first: the proxies' destruction may call back into the animator.
    auto doomed = std::move (tasks);
    tasks.clear();
    doomed.clear();
}

HvVBlankComponentAnimator::AnimationTask* HvVBlankComponentAnimator::findTaskFor (Component* component) const
{
    if (component == nullptr)
        return nullptr;

    for (auto it = tasks.rbegin(); it != tasks.rend(); ++it)
        if ((*it)->component.get() == component)
            return it->get();

    return nullptr;
}

std::unique_ptr<HvVBlankComponentAnimator::AnimationTask> HvVBlankComponentAnimator::takeTask (AnimationTask* task)
{
    for (auto it = tasks.begin(); it != tasks.end(); ++it)
    {
        if (it->get() == task)
        {
            auto taken = std::move (*it);
            tasks.erase (it);
            return taken;
        }
    }

    return {};
}

std::vector<WeakReference<HvVBlankComponentAnimator::AnimationTask>>
HvVBlankComponentAnimator::weakTasks (bool newestFirst) const
{
    std::vector<WeakReference<AnimationTask>> result;

    for (auto& task : tasks)
        result.emplace_back (task.get());

    if (newestFirst)
        std::reverse (result.begin(), result.end());

    return result;
}

void HvVBlankComponentAnimator::animateComponent (Component* component, const Rectangle<int>& finalBounds,
                                                  float finalAlpha, int millisecondsToSpendMoving,
                                                  bool useProxyComponent, double startSpeed, double endSpeed)
{
    if (component == nullptr)
        return;

    const Component::SafePointer<Component> safeComponent (component);
    auto* task = findTaskFor (component);

    if (task == nullptr)
    {
        tasks.push_back (std::make_unique<AnimationTask> (*component));
        task = tasks.back().get();
        sendChangeMessage();
    }

    task->reset (finalBounds, finalAlpha, millisecondsToSpendMoving, useProxyComponent, startSpeed, endSpeed);

    if (attachedComponent == nullptr && ! tasks.empty())
    {
        lastStepTime = Time::getMillisecondCounter();
        attachToDisplayOf (safeComponent != nullptr ? safeComponent.getComponent() : tasks.front()->getAnchor());
    }
}

void HvVBlankComponentAnimator::cancelAllAnimations (bool moveComponentsToTheirFinalPositions,
                                                     bool sendChangeMessageNow)
{
    if (tasks.empty())
        return;

    if (moveComponentsToTheirFinalPositions)
    {
        for (auto& weakTask : weakTasks (true))
            if (auto* task = weakTask.get())
                task->moveToFinalDestination();
    }

    auto doomed = std::move (tasks);
    tasks.clear();
    doomed.clear();

    if (sendChangeMessageNow)
        sendChangeMessage();
}

int HvVBlankComponentAnimator::getTaskElapsedMs (Component* component) const
{
    if (auto* task = findTaskFor (component))
        return task->msElapsed;

    return 0;
}

bool HvVBlankComponentAnimator::isAnimating (Component* component) const
{
    return findTaskFor (component) != nullptr;
}

void HvVBlankComponentAnimator::step (uint32 nowMs)
{
    if (lastStepTime == 0)
        lastStepTime = nowMs;

    const auto elapsed = (int) (nowMs - lastStepTime);

    // Callbacks of a step may delete or add tasks: each one is looked at through a weak
    // reference, and tasks added meanwhile wait for the next step.
    for (auto& weakTask : weakTasks (false))
    {
        auto* task = weakTask.get();

        if (task == nullptr)
            continue;

        switch (task->advance (elapsed))
        {
            case AnimationTask::StepResult::busy:
                break;

            case AnimationTask::StepResult::finished:
                takeTask (task).reset();
                sendChangeMessage();
                break;

            case AnimationTask::StepResult::deletedMeanwhile:
                sendChangeMessage();
                break;
        }
    }

    lastStepTime = nowMs;

    if (tasks.empty())
        detachFromDisplay();
}

void HvVBlankComponentAnimator::attachToDisplayOf (Component* component)
{
    detachFromDisplay();

    if (component == nullptr)
        return;

    attachedComponent = component;
    attachedComponent->addComponentListener (this);

    // When the last task ends, step() drops this attachment from inside its own callback; nothing
    // of the callback is used after step() returns.
    attachment = VBlankAttachment (component, [this] { step (Time::getMillisecondCounter()); });
}

void HvVBlankComponentAnimator::detachFromDisplay()
{
    attachment = VBlankAttachment();

    if (auto* component = std::exchange (attachedComponent, nullptr))
        component->removeComponentListener (this);
}

void HvVBlankComponentAnimator::componentBeingDeleted (Component& component)
{
    if (&component != attachedComponent)
        return;

    // The attachment must not outlive the component it hangs on: move it to another task's
    // component (or proxy), or drop it.
    Component* nextAnchor = nullptr;

    for (auto& task : tasks)
    {
        auto* anchor = task->getAnchor();

        if (anchor != nullptr && anchor != &component)
        {
            nextAnchor = anchor;
            break;
        }
    }

    detachFromDisplay();

    if (nextAnchor != nullptr)
        attachToDisplayOf (nextAnchor);
}

} // namespace juce
