#include "link/MidiParam.h"

#include "support/MessagePump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

/** Wires a parameter's three functions into one log, and drives its clock by hand. */
class MidiParamTest : public ::testing::Test
{
protected:
    MidiParamTest() { wire (param); }

    void wire (MidiParam& p)
    {
        p.setClock ([this] { return now; });
        p.onGesture = [this] (bool starting) { log.push_back (starting ? "begin" : "end"); };
        p.onReceived = [this] (int v)
        {
            log.push_back ("value " + std::to_string (v));
            appliedOnMessageThread = appliedOnMessageThread && juce::MessageManager::getInstance()->isThisTheMessageThread();
        };
        p.send = [this] (int v) { log.push_back ("send " + std::to_string (v)); };
    }

    /** Applies a value as the message thread does, at that wall-clock time. */
    void receiveAt (juce::int64 time, int value)
    {
        now = time;
        param.setReceivedValue (value);
        param.handleUpdateNowIfNeeded();
    }

    int gestureInterval() const
    {
        return param.isTimerRunning (MidiParam::gestureTimerId) ? param.getTimerInterval (MidiParam::gestureTimerId) : 0;
    }

    juce::int64 now = 1'700'000'000'000;
    Log log;
    bool appliedOnMessageThread = true;
    MidiParam param;
};

TEST_F (MidiParamTest, ALoneValueIsAppliedInsideAGestureThatTheTimerEnds)
{
    receiveAt (now, 7);
    EXPECT_EQ (log, (Log { "begin", "value 7" }));
    EXPECT_EQ (gestureInterval(), 300);

    param.timerCallback (MidiParam::gestureTimerId + 1);
    EXPECT_TRUE (param.isGestureActive());

    param.timerCallback (MidiParam::gestureTimerId);
    EXPECT_EQ (log, (Log { "begin", "value 7", "end" }));
    EXPECT_FALSE (param.isGestureActive());
    EXPECT_EQ (gestureInterval(), 0);

    // The same value again is applied again, in a gesture of its own.
    receiveAt (now + 5000, 7);
    EXPECT_EQ (log, (Log { "begin", "value 7", "end", "begin", "value 7" }));
    EXPECT_EQ (gestureInterval(), 300);
}

TEST_F (MidiParamTest, ARunOfValuesIsOneGestureEndingThreeGapsAfterTheLastWithinLimits)
{
    const struct { const char* name; juce::int64 gap; int interval; } run[] {
        { "first value", 0, 300 },
        { "50 ms later", 50, 150 },
        { "20 ms later", 20, 100 },
        { "400 ms later", 400, 1000 },
        { "34 ms later", 34, 102 },
        { "333 ms later", 333, 999 },
        { "334 ms later", 334, 1000 },
        { "at the same time", 0, 100 },
        { "clock went back", -5000, 100 },
        { "a gap beyond 32 bits", (juce::int64) 1 << 32 | 10, 1000 },
        { "a gap whose 32-bit difference is negative", ((juce::int64) 1 << 31) + 50, 1000 },
    };

    Log expected { "begin" };

    for (const auto& step : run)
    {
        receiveAt (now + step.gap, (int) expected.size());
        expected.push_back ("value " + std::to_string (expected.size()));

        EXPECT_EQ (gestureInterval(), step.interval) << step.name;
    }

    EXPECT_EQ (log, expected);

    param.timerCallback (MidiParam::gestureTimerId);
    expected.push_back ("end");
    EXPECT_EQ (log, expected);
}

TEST_F (MidiParamTest, ValuesStoredOnAnotherThreadAreAppliedOnTheMessageThreadOnceWithTheLatest)
{
    std::thread receiveThread ([this]
    {
        for (int v : { 1, 2, 3 })
            param.setReceivedValue (v);
    });
    receiveThread.join();

    ASSERT_TRUE (testing_support::pumpUntil ([this] { return ! log.empty() && log.back() == "end"; }));

    EXPECT_EQ (log, (Log { "begin", "value 3", "end" }));
    EXPECT_TRUE (appliedOnMessageThread);
}

TEST_F (MidiParamTest, SendingGoesOutAtOnceEveryTimeAndLeavesTheGestureAlone)
{
    receiveAt (now, 7);
    param.dawValueChanged (42);
    param.dawValueChanged (42);

    EXPECT_EQ (log, (Log { "begin", "value 7", "send 42", "send 42" }));
    EXPECT_TRUE (param.isGestureActive());
    EXPECT_EQ (gestureInterval(), 300);
}

TEST_F (MidiParamTest, EmptyFunctionsAreSkippedAndTheTimingStillRuns)
{
    MidiParam bare;
    bare.setReceivedValue (3);
    bare.handleUpdateNowIfNeeded();
    bare.dawValueChanged (3);

    EXPECT_TRUE (bare.isGestureActive());
    EXPECT_EQ (bare.getTimerInterval (MidiParam::gestureTimerId), 300);

    bare.timerCallback (MidiParam::gestureTimerId);
    EXPECT_FALSE (bare.isGestureActive());
}

TEST_F (MidiParamTest, DestroyedInsideAGestureItEndsItAndAppliesNothingMore)
{
    auto doomed = std::make_unique<MidiParam>();
    wire (*doomed);
    doomed->setReceivedValue (1);
    doomed->handleUpdateNowIfNeeded();
    doomed->setReceivedValue (2);

    doomed.reset();
    testing_support::pumpPendingMessages();

    EXPECT_EQ (log, (Log { "begin", "value 1", "end" }));
}

} // namespace
