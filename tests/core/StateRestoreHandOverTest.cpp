#include "core/Eq713kPluginInstance.h"

#include "support/ChangeLog.h"
#include "support/MessagePump.h"
#include "support/StateBlocks.h"

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

TEST (StateRestoreHandOverTest, ARestoreFromAnotherThreadIsAppliedOnTheMessageThreadParametersFirst)
{
    Eq713kPluginInstance instance;
    const auto initialState = stateOf (instance);
    OrderLog log (instance.getProductManager());

    restoreFromAnotherThread (instance, changedState (0.25f, 99));

    EXPECT_TRUE (log.events.empty());
    EXPECT_EQ (stateOf (instance), initialState);

    ASSERT_TRUE (pumpUntil ([&] { return remembers (instance, 99)
                                      && instance.getProductManager().getNonAutomatableParamValue (ParamData::DOUBLE_WINDOW) == juce::var (true); }));

    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::CHANNEL), 1.0f);
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        EXPECT_EQ (instance.getProductManager().getParamValue (id), 0.25f) << id;

    ASSERT_FALSE (log.events.empty());
    auto settingSeen = false;
    for (const auto& event : log.events)
    {
        EXPECT_FALSE (settingSeen && ! event.isSetting) << "parameter " << event.id << " after a setting";
        settingSeen = settingSeen || event.isSetting;
    }
}

TEST (StateRestoreHandOverTest, ARestoreOnTheMessageThreadFirstAppliesOneStillWaiting)
{
    Eq713kPluginInstance instance;
    restoreFromAnotherThread (instance, changedState (0.25f, 99));

    // Only LO BOOST 1, so that what the waiting block set stays visible.
    restore (instance, blockOf (stateTree ({ param (1.0), param (1.0), param (0.75) })));

    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_ATTEN_1), 0.25f);
    EXPECT_EQ (instance.getProductManager().getParamValue (ParamData::LO_BOOST_1), 0.75f);
    EXPECT_TRUE (pumpUntil ([&] { return remembers (instance, 99); }));
}

TEST (StateRestoreHandOverTest, OfSeveralBlocksWaitingTheLatestIsRestored)
{
    Eq713kPluginInstance instance;
    ChangeLog log (instance.getProductManager(), { ParamData::LO_BOOST_1 });

    restoreFromAnotherThread (instance, changedState (0.25f, 11));
    restoreFromAnotherThread (instance, changedState (0.5f, 22));

    ASSERT_TRUE (pumpUntil ([&] { return remembers (instance, 22); }));
    pumpPendingMessages();

    const auto changes = log.forId (ParamData::LO_BOOST_1);
    ASSERT_FALSE (changes.empty());
    for (const auto& change : changes)
    {
        if (change.kind == ChangeLog::Entry::value)
        {
            EXPECT_EQ (change.newValue, 0.5f);
        }
    }
}

TEST (StateRestoreHandOverTest, AnInstanceDestroyedWithABlockWaitingTakesItAlong)
{
    auto instance = std::make_unique<Eq713kPluginInstance>();
    restoreFromAnotherThread (*instance, changedState (0.25f, 99));
    instance.reset();

    pumpPendingMessages();
}

} // namespace
