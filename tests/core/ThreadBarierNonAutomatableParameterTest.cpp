#include "core/ThreadBarierNonAutomatableParameter.h"

#include "support/MessagePump.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using juce::HvParamsManager;
using juce::ThreadBarierNonAutomatableParameter;

namespace
{

class SettingRecorder : public HvParamsManager::NonAutomatableParamListener
{
public:
    void nonAutomatableParamValueChanged (int, juce::var value) override { values.push_back (value); }
    std::vector<juce::var> values;
};

class ThreadBarierTest : public ::testing::Test
{
protected:
    ThreadBarierTest() { manager.addNonAutomatableParamListener (&recorder, 1, HvParamsManager::noNotification); }

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager manager { processor, 0, 2 };
    SettingRecorder recorder;
};

TEST_F (ThreadBarierTest, OnlyTheLastOfSeveralValuesIsAppliedOnce)
{
    ThreadBarierNonAutomatableParameter barrier (manager, 1);

    std::thread other ([&]
    {
        barrier.setParamValue (10);
        barrier.setParamValue ("text");
        barrier.setParamValue (false);
    });
    other.join();

    EXPECT_TRUE (recorder.values.empty()) << "nothing reaches the manager off the message thread";
    testing_support::pumpPendingMessages();

    ASSERT_EQ (recorder.values.size(), 1u);
    EXPECT_TRUE (recorder.values[0].isBool());
    EXPECT_TRUE (manager.getNonAutomatableParamValue (1).isBool());
}

TEST_F (ThreadBarierTest, AValueEqualToTheCurrentOneTellsNobody)
{
    ThreadBarierNonAutomatableParameter barrier (manager, 1);

    barrier.setParamValue (1);
    testing_support::pumpPendingMessages();

    EXPECT_TRUE (recorder.values.empty());
}

TEST_F (ThreadBarierTest, AppliedWithNoSourceSoEveryListenerIsTold)
{
    SettingRecorder second;
    manager.addNonAutomatableParamListener (&second, 1, HvParamsManager::noNotification);
    ThreadBarierNonAutomatableParameter barrier (manager, 1);

    barrier.setParamValue (5);
    testing_support::pumpPendingMessages();

    EXPECT_EQ (recorder.values, (std::vector<juce::var> { 5 }));
    EXPECT_EQ (second.values, (std::vector<juce::var> { 5 }));
}

TEST_F (ThreadBarierTest, DestroyedWhilePendingAppliesNothing)
{
    auto barrier = std::make_unique<ThreadBarierNonAutomatableParameter> (manager, 1);
    barrier->setParamValue (9);
    barrier.reset();

    testing_support::pumpPendingMessages();

    EXPECT_TRUE (recorder.values.empty());
    EXPECT_EQ (static_cast<int> (manager.getNonAutomatableParamValue (1)), 1);
}

TEST_F (ThreadBarierTest, ConcurrentSettersLeaveOneOfTheirValues)
{
    ThreadBarierNonAutomatableParameter barrier (manager, 1);

    std::vector<std::thread> setters;
    for (int t = 0; t < 4; ++t)
        setters.emplace_back ([&barrier, t]
        {
            for (int i = 0; i < 500; ++i)
                barrier.setParamValue (juce::String (t * 1000 + i));
        });

    for (int i = 0; i < 200; ++i)
        testing_support::pumpPendingMessages();

    for (auto& s : setters)
        s.join();

    testing_support::pumpPendingMessages();

    const auto last = manager.getNonAutomatableParamValue (1).toString().getIntValue();
    EXPECT_EQ (last % 1000, 499);
    ASSERT_FALSE (recorder.values.empty());
    EXPECT_EQ (recorder.values.back(), manager.getNonAutomatableParamValue (1));
}

} // namespace
