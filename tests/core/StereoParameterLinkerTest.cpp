#include "core/StereoParameterLinker.h"

#include "core/Eq713kPluginInstance.h"
#include "support/ChangeLog.h"
#include "support/CommaDecimalLocale.h"
#include "support/MessagePump.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

using testing_support::ChangeLog;
using testing_support::HostEvent;
using Entry = testing_support::ChangeLog::Entry;

namespace
{

/** The action messages a linker posts, seen by listening to its broadcaster. */
class PostedMessages : public juce::ActionListener
{
public:
    void actionListenerCallback (const juce::String& message) override { texts.add (message); }
    juce::StringArray texts;
};

class StereoParameterLinkerTest : public ::testing::Test
{
protected:
    StereoParameterLinkerTest() { instance.addListener (&host); }
    ~StereoParameterLinkerTest() override { instance.removeListener (&host); }

    Eq713kParamsManager& manager() { return instance.getProductManager(); }

    void setChannelFromHost (float value)
    {
        manager().getHostParameter (ParamData::CHANNEL)->setValue (value);
        testing_support::pumpPendingMessages();
    }

    std::vector<HostEvent> hostEventsFor (int index) const
    {
        std::vector<HostEvent> result;
        for (auto& e : host.events)
            if (e.index == index)
                result.push_back (e);
        return result;
    }

    struct Editor : juce::HvParamsManager::AutomatableParamListener {} editor;

    Eq713kPluginInstance instance;
    testing_support::HostRecorder host;
};

TEST_F (StereoParameterLinkerTest, InLinkAChangeReachesTheTwinLaterAndIsNotSentBack)
{
    ChangeLog log (manager(), { ParamData::LO_ATTEN_1, ParamData::LO_ATTEN_2 });

    manager().setParamValue (&editor, ParamData::LO_ATTEN_1, 0.25f);
    EXPECT_EQ (log.forId (ParamData::LO_ATTEN_2).size(), 0u) << "the twin moves only after the message thread runs";

    testing_support::pumpPendingMessages();

    const auto twin = log.forId (ParamData::LO_ATTEN_2);
    ASSERT_EQ (twin.size(), 1u);
    EXPECT_EQ (twin[0].newValue, 0.25f);
    EXPECT_NE (dynamic_cast<StereoParameterLinker*> (twin[0].source), nullptr);
    EXPECT_EQ (log.forId (ParamData::LO_ATTEN_1).size(), 1u) << "the first id is not set again";
}

TEST_F (StereoParameterLinkerTest, ChangesWithNoSourceAreMirroredBothWays)
{
    manager().setParamValue (nullptr, ParamData::HI_BOOST_2, 0.4f);
    testing_support::pumpPendingMessages();

    EXPECT_EQ (manager().getParamValue (ParamData::HI_BOOST_1), 0.4f);
}

TEST_F (StereoParameterLinkerTest, NothingIsMirroredInDualMonoOrFromHostAutomation)
{
    setChannelFromHost (0.0f);
    manager().getHostParameter (ParamData::HI_BOOST_1)->setValue (0.8f);
    testing_support::pumpPendingMessages();
    EXPECT_EQ (manager().getParamValue (ParamData::HI_BOOST_1), 0.8f);
    EXPECT_EQ (manager().getParamValue (ParamData::HI_BOOST_2), 0.0f) << "host automation is not mirrored";

    setChannelFromHost (1.0f);
    manager().setParamValue (&editor, ParamData::LO_CPS_1, 1.0f);
    manager().beginParamGesture (&editor, ParamData::LO_CPS_1);
    manager().endParamGesture (&editor, ParamData::LO_CPS_1);
    testing_support::pumpPendingMessages();
    EXPECT_EQ (manager().getParamValue (ParamData::LO_CPS_2), 2.0f / 3.0f) << "a host change of CHANNEL unlinks too";
    EXPECT_TRUE (hostEventsFor (ParamData::LO_CPS_2).empty());
}

TEST_F (StereoParameterLinkerTest, AnEditorGestureOnChannelTwoBecomesACompleteGestureOnChannelOne)
{
    manager().beginParamGesture (&editor, ParamData::ENGAGE_2);
    manager().setParamValue (&editor, ParamData::ENGAGE_2, 0.0f);
    manager().endParamGesture (&editor, ParamData::ENGAGE_2);
    testing_support::pumpPendingMessages();

    const auto events = hostEventsFor (ParamData::ENGAGE_1);
    ASSERT_EQ (events.size(), 3u);
    EXPECT_EQ (events[0].kind, HostEvent::gestureBegin);
    EXPECT_EQ (events[1].kind, HostEvent::value);
    EXPECT_EQ (events[1].newValue, 0.0f);
    EXPECT_EQ (events[2].kind, HostEvent::gestureEnd);
}

TEST_F (StereoParameterLinkerTest, MessagesCarryTheValueWithSixSignificantDigitsWhateverTheLocale)
{
    testing_support::CommaDecimalLocale commaLocale;
    ASSERT_TRUE (commaLocale.isActive());

    testing_support::TestProcessor processor;
    testing_support::TestParamsManager plain (processor, 11, 0);
    plain.setParamValue (nullptr, 0, 0.0f);
    StereoParameterLinker linker (plain, 1, 10);
    PostedMessages posted;
    linker.addActionListener (&posted);

    plain.setParamValue (nullptr, 1, 2.0f / 3.0f);
    plain.setParamValue (nullptr, 10, 0.00001f);
    plain.beginParamGesture (nullptr, 10);
    plain.endParamGesture (nullptr, 10);
    testing_support::pumpPendingMessages();

    EXPECT_EQ (posted.texts, juce::StringArray ({ "1|10|0.666667", "1|1|1e-05", "2|1|0", "3|1|0" }));
    EXPECT_EQ (plain.getParamValue (10), 0.666667f);
    EXPECT_EQ (plain.getParamValue (1), 1e-05f);
    linker.removeActionListener (&posted);
}

TEST_F (StereoParameterLinkerTest, MalformedOrUnknownMessagesChangeNothing)
{
    testing_support::TestProcessor processor;
    testing_support::TestParamsManager plain (processor, 11, 0);
    StereoParameterLinker linker (plain, 1, 10);
    ChangeLog log (plain, { 1, 10 });

    for (const char* message : { "", "1|10", "1", "4|10|0.5", "0|10|0.5", "x|10|0.5" })
        linker.actionListenerCallback (message);

    EXPECT_TRUE (log.entries.empty());
    linker.actionListenerCallback ("1|10|0.75junk");
    EXPECT_EQ (plain.getParamValue (10), 0.75f);
}

TEST_F (StereoParameterLinkerTest, AGestureBegunInLinkIsEndedOnTheTwinEvenAfterLeavingLink)
{
    manager().beginParamGesture (&editor, ParamData::LO_BOOST_1);
    testing_support::pumpPendingMessages();
    setChannelFromHost (1.0f);
    manager().endParamGesture (&editor, ParamData::LO_BOOST_1);
    testing_support::pumpPendingMessages();

    const auto events = hostEventsFor (ParamData::LO_BOOST_2);
    ASSERT_EQ (events.size(), 2u);
    EXPECT_EQ (events[0].kind, HostEvent::gestureBegin);
    EXPECT_EQ (events[1].kind, HostEvent::gestureEnd);

    // The twin's gesture count is back at zero: a new gesture there reaches the host.
    manager().beginParamGesture (&editor, ParamData::LO_BOOST_2);
    EXPECT_EQ (hostEventsFor (ParamData::LO_BOOST_2).size(), 3u);
    manager().endParamGesture (&editor, ParamData::LO_BOOST_2);
}

TEST_F (StereoParameterLinkerTest, AGestureBegunInDualMonoEndsNoGestureOnTheTwinAfterEnteringLink)
{
    setChannelFromHost (1.0f);
    manager().beginParamGesture (&editor, ParamData::LO_BOOST_2);
    manager().beginParamGesture (&editor, ParamData::LO_BOOST_1);
    setChannelFromHost (0.0f);
    manager().endParamGesture (&editor, ParamData::LO_BOOST_1);
    testing_support::pumpPendingMessages();

    const auto events = hostEventsFor (ParamData::LO_BOOST_2);
    ASSERT_EQ (events.size(), 1u) << "the twin's own open gesture must not be ended by the linker";
    EXPECT_EQ (events[0].kind, HostEvent::gestureBegin);

    manager().endParamGesture (&editor, ParamData::LO_BOOST_2);
    EXPECT_EQ (hostEventsFor (ParamData::LO_BOOST_2).size(), 2u);
}

} // namespace
