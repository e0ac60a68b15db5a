#include "core/Eq713kPluginInstance.h"

#include "support/ChangeLog.h"
#include "support/MessagePump.h"
#include "support/ScratchFolder.h"
#include "support/StateBlocks.h"
#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

using namespace testing_support;

namespace
{

/** Every change of every parameter and setting, in order. */
class OrderLog : public juce::HvParamsManager::AutomatableParamListener,
                 public juce::HvParamsManager::NonAutomatableParamListener
{
public:
    struct Event
    {
        bool isSetting;
        int id;
    };

    explicit OrderLog (juce::HvParamsManager& managerToWatch) : manager (managerToWatch)
    {
        for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
            manager.addParamListener (this, id, juce::HvParamsManager::noNotification);
        for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
            manager.addNonAutomatableParamListener (this, id, juce::HvParamsManager::noNotification);
    }

    ~OrderLog() override
    {
        for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
            manager.removeParamListener (this, id);
        for (int id = 0; id < ParamData::NUM_NA_PARAMS; ++id)
            manager.removeNonAutomatableParamListener (this, id);
    }

    using AutomatableParamListener::paramValueChanged;
    void paramValueChanged (int id, float) override { events.push_back ({ false, id }); }
    void nonAutomatableParamValueChanged (int id, juce::var) override { events.push_back ({ true, id }); }

    std::vector<Event> events;

private:
    juce::HvParamsManager& manager;
};

/** A state in "DUAL MONO" with every control at the given value, the double-window mode
    on and a remembered unit. */
juce::MemoryBlock changedState (float value, int serialNumber)
{
    Eq713kPluginInstance source;
    auto& manager = source.getProductManager();
    manager.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        manager.setParamValue (nullptr, id, value);
    manager.setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, true);
    manager.setNonAutomatableParamValue (nullptr, ParamData::CONNECTED_DEV_SN, serialNumber);
    return stateOf (source);
}

void restoreFromAnotherThread (Eq713kPluginInstance& instance, const juce::MemoryBlock& block)
{
    std::thread host ([&] { restore (instance, block); });
    host.join();
}

bool remembers (const Eq713kPluginInstance& instance, int serialNumber)
{
    return instance.getProductManager().getNonAutomatableParamValue (ParamData::CONNECTED_DEV_SN) == juce::var (serialNumber);
}

std::vector<float> hostValuesOf (Eq713kPluginInstance& instance)
{
    std::vector<float> values;
    for (auto* parameter : instance.getParameters())
        values.push_back (parameter->getValue());
    return values;
}

/** What the host's side of the instance hears, and on which thread. */
class ThreadRecordingHost : public HostRecorder
{
public:
    void audioProcessorParameterChanged (juce::AudioProcessor* processor, int index, float value) override
    {
        threads.push_back (std::this_thread::get_id());
        HostRecorder::audioProcessorParameterChanged (processor, index, value);
    }

    std::vector<std::thread::id> threads;
};

TEST (StateRestoreHandOverTest, AHostThreadsRestoreIsInForceWhenItReturnsAndTheListenersLearnOfItOnTheMessageThread)
{
    Eq713kPluginInstance instance;
    const auto block = changedState (0.25f, 99);
    const auto liveSettings = settingsOf (instance);
    OrderLog log (instance.getProductManager());
    ThreadRecordingHost host;
    instance.addListener (&host);

    std::thread::id hostThread;
    std::thread ([&]
    {
        hostThread = std::this_thread::get_id();
        restore (instance, block);
    }).join();

    // In force at once: the state read back, the store and the host parameters.
    EXPECT_EQ (stateOf (instance), block);
    std::vector<float> expected ((size_t) ParamData::NUM_PARAMS, 0.25f);
    expected[ParamData::CHANNEL] = 1.0f;
    EXPECT_EQ (parametersOf (instance), expected);
    EXPECT_EQ (hostValuesOf (instance), expected);

    // The host heard each value once, on its own thread, through its state path: no gesture.
    EXPECT_EQ (host.count (HostEvent::value), ParamData::NUM_PARAMS);
    EXPECT_EQ (host.count (HostEvent::gestureBegin) + host.count (HostEvent::gestureEnd), 0);
    EXPECT_EQ (host.threads, std::vector<std::thread::id> ((size_t) ParamData::NUM_PARAMS, hostThread));

    // The listeners have not been told on the host's thread, and the settings are on their way.
    EXPECT_TRUE (log.events.empty());
    EXPECT_EQ (settingsOf (instance), liveSettings);

    host.events.clear();
    pumpPendingMessages();

    EXPECT_TRUE (remembers (instance, 99));
    EXPECT_EQ (instance.getProductManager().getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW), juce::var (true));
    EXPECT_EQ (stateOf (instance), block);
    EXPECT_TRUE (host.events.empty()) << "nothing reached the host from the message thread";

    ASSERT_FALSE (log.events.empty());
    auto settingSeen = false;
    for (const auto& event : log.events)
    {
        EXPECT_FALSE (settingSeen && ! event.isSetting) << "parameter " << event.id << " after a setting";
        settingSeen = settingSeen || event.isSetting;
    }

    instance.removeListener (&host);
}

TEST (StateRestoreHandOverTest, ARestoreOnTheMessageThreadFirstTellsOneStillWaiting)
{
    Eq713kPluginInstance instance;
    restoreFromAnotherThread (instance, changedState (0.25f, 99));
    ChangeLog log (instance.getProductManager(), { ParamData::LO_ATTEN_1, ParamData::LO_BOOST_1 });

    // Only LO BOOST 1, so that what the waiting block set stays visible.
    restore (instance, blockOf (stateTree ({ param (1.0), param (1.0), param (0.75) })));

    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_ATTEN_1), 0.25f);
    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_BOOST_1), 0.75f);
    EXPECT_EQ (log.forId (ParamData::LO_ATTEN_1).size(), 3u) << "the waiting restore, told first";
    EXPECT_EQ (log.forId (ParamData::LO_BOOST_1).size(), 6u) << "both restores";
    EXPECT_TRUE (pumpUntil ([&] { return remembers (instance, 99); }));
}

TEST (StateRestoreHandOverTest, OfSeveralRestoresFromHostThreadsTheLatestHoldsAndIsToldOnce)
{
    Eq713kPluginInstance instance;
    ChangeLog log (instance.getProductManager(), { ParamData::LO_BOOST_1 });

    restoreFromAnotherThread (instance, changedState (0.25f, 11));
    const auto latest = changedState (0.5f, 22);
    restoreFromAnotherThread (instance, latest);
    EXPECT_EQ (stateOf (instance), latest);

    ASSERT_TRUE (pumpUntil ([&] { return remembers (instance, 22); }));
    pumpPendingMessages();

    const auto changes = log.forId (ParamData::LO_BOOST_1);
    ASSERT_EQ (changes.size(), 3u);
    EXPECT_EQ (changes[1].newValue, 0.5f);
    EXPECT_EQ (stateOf (instance), latest);
}

TEST (StateRestoreHandOverTest, APresetLoadedWhileAHostsRestoreIsWaitingIsTheLastWord)
{
    const ScratchFolder scratch;
    const auto preset = scratch.file ("p.hvrp");
    const auto presetState = changedState (0.75f, 22);
    ASSERT_TRUE (preset.replaceWithData (presetState.getData(), presetState.getSize()));

    Eq713kPluginInstance instance;
    restoreFromAnotherThread (instance, changedState (0.25f, 11));
    instance.getPresetCommandsForTests().loadChosenFile (preset);
    pumpPendingMessages();

    EXPECT_TRUE (remembers (instance, 22));
    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_BOOST_1), 0.75f);
    EXPECT_EQ (stateOf (instance), presetState);
}

TEST (StateRestoreHandOverTest, AnInstanceDestroyedBeforeTheMessageThreadRanHadItsRestoreInForce)
{
    const auto block = changedState (0.25f, 99);
    juce::MemoryBlock savedBeforeDestruction;

    std::thread ([&]
    {
        Eq713kPluginInstance instance;
        restore (instance, block);
        savedBeforeDestruction = stateOf (instance);
    }).join();

    EXPECT_EQ (savedBeforeDestruction, block);
    pumpPendingMessages();
}

} // namespace
