#include "core/HvDawParameter.h"

#include "support/MessagePump.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>
#include <vector>

using juce::HvDawParameter;
using juce::HvParamsManager;
using testing_support::HostEvent;

namespace
{

struct Change
{
    HvParamsManager::AutomatableParamListener* source;
    float value;
};

/** Sees every change of one id, its own included, with the source. */
class ChangeRecorder : public HvParamsManager::AutomatableParamListener
{
public:
    using AutomatableParamListener::paramValueChanged;

    void paramValueChanged (AutomatableParamListener* source, int, float value) override
    {
        changes.push_back ({ source, value });
    }

    std::vector<Change> changes;
};

class HvDawParameterTest : public ::testing::Test
{
protected:
    HvDawParameterTest()
    {
        processor.addListener (&host);
        manager.addParamListener (&recorder, 0, HvParamsManager::noNotification);
    }

    ~HvDawParameterTest() override { processor.removeListener (&host); }

    HvDawParameter& parameter() { return *manager.getHostParameter (0); }

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager manager { processor, 1, 0 };
    testing_support::HostRecorder host;
    ChangeRecorder recorder;
};

TEST_F (HvDawParameterTest, HostChangesFromAnotherThreadCollapseIntoOneChangeOnTheMessageThread)
{
    std::thread hostThread ([this]
    {
        for (const float v : { 0.1f, 0.2f, 0.7f, 0.7f })
            parameter().setValue (v);
    });
    hostThread.join();

    EXPECT_TRUE (recorder.changes.empty());
    EXPECT_FLOAT_EQ (manager.getParamValue (0), 0.25f);

    testing_support::pumpPendingMessages();

    ASSERT_EQ (recorder.changes.size(), 1u);
    EXPECT_EQ (recorder.changes[0].source, &parameter());
    EXPECT_FLOAT_EQ (recorder.changes[0].value, 0.7f);
    EXPECT_FLOAT_EQ (manager.getParamValue (0), 0.7f);
    EXPECT_TRUE (host.events.empty()) << "the host's own change must not be echoed back to it";
}

TEST_F (HvDawParameterTest, AHostValueEqualToTheStoredOneGoesNowhere)
{
    parameter().setValue (0.25f);
    testing_support::pumpPendingMessages();

    EXPECT_TRUE (recorder.changes.empty());
}

TEST_F (HvDawParameterTest, NonFiniteHostValuesNeverEnterTheStore)
{
    for (const float bad : { std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity() })
    {
        parameter().setValue (bad);
        testing_support::pumpPendingMessages();
    }

    EXPECT_TRUE (recorder.changes.empty());
    EXPECT_FLOAT_EQ (parameter().getValue(), 0.25f);
    EXPECT_FLOAT_EQ (manager.getParamValue (0), 0.25f);
}

TEST_F (HvDawParameterTest, AManagerChangeReachesTheHostOnceAndDoesNotComeBack)
{
    manager.setParamValue (nullptr, 0, 0.8f);
    testing_support::pumpPendingMessages();

    ASSERT_EQ (host.events.size(), 1u);
    EXPECT_EQ (host.events[0].kind, HostEvent::value);
    EXPECT_EQ (host.events[0].index, 0);
    EXPECT_FLOAT_EQ (host.events[0].newValue, 0.8f);
    EXPECT_FLOAT_EQ (parameter().getValue(), 0.8f);
    EXPECT_EQ (recorder.changes.size(), 1u) << "the manager heard only its own change";
}

TEST_F (HvDawParameterTest, AManagerGestureShowsAsOneBeginAndOneEndAtTheHost)
{
    manager.beginParamGesture (nullptr, 0);
    manager.setParamValue (nullptr, 0, 0.3f);
    manager.endParamGesture (nullptr, 0);

    ASSERT_EQ (host.events.size(), 3u);
    EXPECT_EQ (host.events[0].kind, HostEvent::gestureBegin);
    EXPECT_EQ (host.events[1].kind, HostEvent::value);
    EXPECT_EQ (host.events[2].kind, HostEvent::gestureEnd);
}

TEST_F (HvDawParameterTest, PropertiesAndTexts)
{
    auto& p = parameter();
    EXPECT_EQ (p.getName (2), "P0");
    EXPECT_EQ (p.getLabel(), "");
    EXPECT_EQ (p.getCategory(), juce::AudioProcessorParameter::genericParameter);
    EXPECT_FLOAT_EQ (p.getDefaultValue(), 0.25f);
    EXPECT_FALSE (p.isDiscrete());
    EXPECT_TRUE (p.isAutomatable());
    EXPECT_EQ (p.getParameterIndex(), 0);

    EXPECT_EQ (p.getText (0.5f, 1), "0.50");
    p.setValueToTextFunction ([] (float v) { return v < 0.5f ? juce::String ("LINK") : juce::String ("DUAL MONO"); });
    EXPECT_EQ (p.getText (0.5f, 1), "DUAL MONO");
}

TEST_F (HvDawParameterTest, TypedTextIsReadAsTheNormalisedValue)
{
    const struct { const char* text; float expected; } cases[] = {
        { "+ 0,25", 0.25f },
        { "  ++ 0.3", 0.3f },
        { "7", 1.0f },
        { "-3", 0.0f },
        { "OFF", 0.0f },
        { "ON", 0.0f },
        { "", 0.0f },
        { "0.4 dB", 0.4f },
        { ",5", 0.5f },
        { "4.0", 1.0f },
    };

    for (const auto& c : cases)
        EXPECT_FLOAT_EQ (parameter().getValueForText (c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
