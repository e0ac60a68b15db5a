#include "widgets/HvProxyComponent.h"
#include "widgets/HvVBlankComponentAnimator.h"

#include "support/Rendering.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using juce::Rectangle;

/** Counts the animator's change messages, delivered on demand. */
struct ChangeCounter : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};

/** A component that paints itself in one colour. */
struct Swatch : juce::Component
{
    explicit Swatch (juce::Colour c) : colour (c) {}
    void paint (juce::Graphics& g) override { g.fillAll (colour); }
    juce::Colour colour;
};

/** Two children of one parent, an animator and a clock that tests advance by hand (no window, so
    the display refresh never steps the animator on its own). */
class AnimatorTest : public ::testing::Test
{
public:
    AnimatorTest()
    {
        parent.setSize (2000, 2000);
        a = std::make_unique<Swatch> (juce::Colours::red);
        b = std::make_unique<Swatch> (juce::Colours::blue);
        parent.addAndMakeVisible (*a);
        parent.addAndMakeVisible (*b);
        a->setBounds (0, 0, 10, 10);
        b->setBounds (0, 100, 10, 10);
        animator.addChangeListener (&changes);
    }

    ~AnimatorTest() override { animator.removeChangeListener (&changes); }

    void animate (juce::Component* c, Rectangle<int> to, int ms, double startSpeed, double endSpeed,
                  float alpha = 1.0f, bool proxy = false)
    {
        animator.animateComponent (c, to, alpha, ms, proxy, startSpeed, endSpeed);

        // The first animation of a case sets the time that its steps count from.
        if (! anyRunning)
        {
            start = animator.getLastStepTime();
            anyRunning = true;
        }
    }

    /** Steps the animator to the given time after the first animation started. */
    void stepAt (int msAfterStart) { animator.step (start + (juce::uint32) msAfterStart); }

    int changeMessages()
    {
        animator.dispatchPendingMessages();
        return changes.count;
    }

    juce::Component parent;
    std::unique_ptr<Swatch> a, b;
    juce::HvVBlankComponentAnimator animator;
    ChangeCounter changes;
    juce::uint32 start = 0;
    bool anyRunning = false;
};

struct ProfileCase
{
    const char* name;
    double startSpeed, endSpeed;
    int x250, x500, x750;
};

TEST_F (AnimatorTest, FollowsTheEasedProfileAndEndsExactlyAtTheDestination)
{
    const ProfileCase cases[] = {
        { "at rest at both ends, fastest mid-way", 0.0, 0.0, 125, 500, 875 },
        { "constant speed", 1.0, 1.0, 250, 500, 750 },
        { "negative speeds count as 0", -1.0, -1.0, 125, 500, 875 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        a->setBounds (0, 0, 10, 10);
        anyRunning = false;
        changes.count = 0;
        const Rectangle<int> destination (1000, 7, 33, 21);

        animate (a.get(), destination, 1000, c.startSpeed, c.endSpeed);
        EXPECT_EQ (changeMessages(), 1) << "a new task is announced";
        EXPECT_TRUE (animator.isAnimating (a.get()));

        stepAt (250);
        EXPECT_EQ (a->getX(), c.x250);
        stepAt (500);
        EXPECT_EQ (a->getX(), c.x500);
        stepAt (750);
        EXPECT_EQ (a->getX(), c.x750);
        EXPECT_EQ (animator.getTaskElapsedMs (a.get()), 750);
        EXPECT_EQ (changeMessages(), 1) << "nothing is announced while it runs";

        stepAt (1000);
        EXPECT_EQ (a->getBounds(), destination);
        EXPECT_FALSE (animator.isAnimating (a.get()));
        EXPECT_EQ (animator.getTaskElapsedMs (a.get()), 0);
        EXPECT_EQ (changeMessages(), 2) << "the end is announced";
    }
}

TEST_F (AnimatorTest, ADurationOfZeroOrLessArrivesOnTheNextStep)
{
    for (const int ms : { 0, -50 })
    {
        SCOPED_TRACE (ms);
        a->setBounds (0, 0, 10, 10);
        anyRunning = false;

        animate (a.get(), { 300, 40, 10, 10 }, ms, 0.0, 0.0);
        stepAt (1);

        EXPECT_EQ (a->getBounds(), Rectangle<int> (300, 40, 10, 10));
        EXPECT_FALSE (animator.isAnimating (a.get()));
    }
}

TEST_F (AnimatorTest, ReAimingKeepsTheTaskAndGoesOnFromTheUnroundedPosition)
{
    animate (a.get(), { 10, 0, 10, 10 }, 1000, 1.0, 1.0);
    stepAt (140);
    ASSERT_EQ (a->getX(), 1) << "1.4 on the way, drawn at 1";
    ASSERT_EQ (animator.getTaskElapsedMs (a.get()), 140);
    ASSERT_EQ (changeMessages(), 1);

    animate (a.get(), { 1002, 0, 10, 10 }, 1000, 1.0, 1.0);
    EXPECT_EQ (animator.getTaskElapsedMs (a.get()), 0);
    EXPECT_EQ (changeMessages(), 1) << "re-aiming creates no task";

    stepAt (140 + 250);
    // A quarter of the way from 1.4 gives 251.55; from the rounded 1 it would give 251.25.
    EXPECT_EQ (a->getX(), 252);

    stepAt (140 + 1000);
    EXPECT_EQ (a->getX(), 1002);
    EXPECT_EQ (changeMessages(), 2);
}

TEST_F (AnimatorTest, ADeletedComponentsTaskFinishesQuietlyWhileOthersRun)
{
    // a is animated first, so the display refresh hangs on a's window.
    animate (a.get(), { 500, 0, 10, 10 }, 1000, 1.0, 1.0);
    animate (b.get(), { 500, 100, 10, 10 }, 2000, 1.0, 1.0);
    stepAt (100);
    ASSERT_EQ (changeMessages(), 1);

    a.reset();
    stepAt (200);
    EXPECT_EQ (changeMessages(), 2) << "a's task ended";
    EXPECT_TRUE (animator.isAnimating (b.get()));
    EXPECT_EQ (b->getX(), 50);

    // Ending the last task drops the display attachment, which must not reach the deleted a.
    stepAt (2000);
    EXPECT_EQ (b->getX(), 500);
    EXPECT_FALSE (animator.isAnimating (b.get()));
    EXPECT_EQ (changeMessages(), 3);

    // Animating again after that attaches afresh, with a clock of its own.
    anyRunning = false;
    animate (b.get(), { 0, 100, 10, 10 }, 100, 1.0, 1.0);
    stepAt (100);
    EXPECT_EQ (b->getX(), 0);
}

TEST_F (AnimatorTest, DeletingTheOnlyAnimatedComponentLeavesNothingBehind)
{
    animate (a.get(), { 500, 0, 10, 10 }, 1000, 1.0, 1.0);
    ASSERT_EQ (changeMessages(), 1);
    a.reset();
    stepAt (10);
    EXPECT_EQ (changeMessages(), 2);
}

/** Runs an action when the watched component moves. */
struct OnMove : juce::ComponentListener
{
    explicit OnMove (std::function<void()> f) : action (std::move (f)) {}
    void componentMovedOrResized (juce::Component&, bool, bool) override
    {
        if (action)
            std::exchange (action, nullptr)();
    }
    std::function<void()> action;
};

TEST_F (AnimatorTest, TasksDeletedByACallbackDuringAStepAreNotTouchedAgain)
{
    struct Case
    {
        const char* name;
        std::function<void (AnimatorTest&)> whenAMoves;
    };
    const Case cases[] = {
        { "all animations cancelled", [] (AnimatorTest& t) { t.animator.cancelAllAnimations (false, false); } },
        { "the other component deleted", [] (AnimatorTest& t) { t.b.reset(); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        if (b == nullptr)
        {
            b = std::make_unique<Swatch> (juce::Colours::blue);
            parent.addAndMakeVisible (*b);
        }
        a->setBounds (0, 0, 10, 10);
        b->setBounds (0, 100, 10, 10);
        anyRunning = false;

        animate (a.get(), { 500, 0, 10, 10 }, 1000, 1.0, 1.0);
        animate (b.get(), { 500, 100, 10, 10 }, 1000, 1.0, 1.0);
        OnMove listener ([this, &c] { c.whenAMoves (*this); });
        a->addComponentListener (&listener);

        stepAt (100);
        a->removeComponentListener (&listener);

        if (b != nullptr)
        {
            EXPECT_EQ (b->getX(), 0) << "b's task was gone before its turn";
        }

        stepAt (200);
        EXPECT_FALSE (animator.isAnimating (b.get()));
        animator.cancelAllAnimations (false, false);
    }
}

struct CancelCase
{
    bool move, send;
    int expectedX, expectedMessages;
};

TEST_F (AnimatorTest, CancellingMovesAndAnnouncesOnlyWhenAsked)
{
    const CancelCase cases[] = {
        { true, true, 500, 1 },
        { false, false, 250, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "move " << c.move << ", send " << c.send);
        a->setBounds (0, 0, 10, 10);
        anyRunning = false;
        animate (a.get(), { 500, 0, 10, 10 }, 1000, 1.0, 1.0);
        stepAt (500);
        const auto before = changeMessages();

        animator.cancelAllAnimations (c.move, c.send);

        EXPECT_EQ (a->getX(), c.expectedX);
        EXPECT_FALSE (animator.isAnimating (a.get()));
        EXPECT_EQ (animator.getTaskElapsedMs (a.get()), 0);
        EXPECT_EQ (changeMessages() - before, c.expectedMessages);
    }
}

TEST_F (AnimatorTest, AProxyStandsInWhileTheComponentMoves)
{
    a->setBounds (100, 100, 40, 40);
    const auto childrenBefore = parent.getNumChildComponents();

    animate (a.get(), { 300, 100, 40, 40 }, 1000, 1.0, 1.0, 1.0f, true);

    ASSERT_EQ (parent.getNumChildComponents(), childrenBefore + 1);
    auto* proxy = dynamic_cast<juce::HvProxyComponent*> (parent.getChildComponent (parent.getIndexOfChildComponent (a.get()) - 1));
    ASSERT_NE (proxy, nullptr) << "the proxy sits just behind the component";
    EXPECT_FALSE (a->isVisible());
    EXPECT_TRUE (proxy->isVisible());
    EXPECT_EQ (proxy->getBounds(), Rectangle<int> (100, 100, 40, 40));
    EXPECT_EQ (proxy->getSnapshot().getBounds(), Rectangle<int> (0, 0, 40, 40)) << "no display: scale 1";

    stepAt (500);
    EXPECT_EQ (proxy->getX(), 200);
    EXPECT_EQ (a->getX(), 100) << "the component waits where it was";
    const auto image = testing_support::renderComponent (parent);
    EXPECT_TRUE (testing_support::coloursNear (testing_support::pixelAt (image, 220, 120), juce::Colours::red, 2))
        << testing_support::describe (testing_support::pixelAt (image, 220, 120));

    stepAt (1000);
    EXPECT_EQ (parent.getNumChildComponents(), childrenBefore);
    EXPECT_EQ (a->getBounds(), Rectangle<int> (300, 100, 40, 40));
    EXPECT_TRUE (a->isVisible());
}

TEST_F (AnimatorTest, AProxyOutlivesItsComponentWithoutTouchingIt)
{
    a->setBounds (100, 100, 40, 40);
    const auto childrenBefore = parent.getNumChildComponents();
    animate (a.get(), { 300, 100, 40, 40 }, 1000, 1.0, 1.0, 0.0f, true);
    ASSERT_EQ (changeMessages(), 1);
    auto* proxy = parent.getChildComponent (parent.getIndexOfChildComponent (a.get()) - 1);

    a.reset();
    stepAt (500);
    ASSERT_EQ (parent.getNumChildComponents(), childrenBefore) << "the proxy alone is left of a";
    EXPECT_EQ (proxy->getX(), 200);

    stepAt (1000);
    EXPECT_EQ (parent.getNumChildComponents(), childrenBefore - 1);
    EXPECT_EQ (changeMessages(), 2);
}

TEST_F (AnimatorTest, AComponentWithNowhereForAProxyMovesItself)
{
    Swatch lone (juce::Colours::green);
    lone.setBounds (0, 0, 10, 10);
    lone.setVisible (true);

    animate (&lone, { 100, 0, 10, 10 }, 1000, 1.0, 1.0, 1.0f, true);
    EXPECT_TRUE (lone.isVisible());
    stepAt (500);
    EXPECT_EQ (lone.getX(), 50);
    stepAt (1000);
    EXPECT_EQ (lone.getX(), 100);
}

TEST_F (AnimatorTest, FadesTheAlpha)
{
    animate (a.get(), a->getBounds(), 1000, 1.0, 1.0, 0.0f);
    stepAt (250);
    EXPECT_NEAR (a->getAlpha(), 0.75f, 1.0f / 255.0f);
    stepAt (1000);
    EXPECT_EQ (a->getAlpha(), 0.0f);
    EXPECT_FALSE (animator.isAnimating (a.get()));
}

TEST (AnimatorWithoutTasks, IgnoresNullAndUnknownComponents)
{
    juce::HvVBlankComponentAnimator animator;
    juce::Component c;
    animator.animateComponent (nullptr, { 0, 0, 1, 1 }, 1.0f, 100, false, 0.0, 0.0);
    EXPECT_FALSE (animator.isAnimating (nullptr));
    EXPECT_FALSE (animator.isAnimating (&c));
    EXPECT_EQ (animator.getTaskElapsedMs (nullptr), 0);
    EXPECT_EQ (animator.getTaskElapsedMs (&c), 0);
}

} // namespace
