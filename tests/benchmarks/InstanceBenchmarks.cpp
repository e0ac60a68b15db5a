// The plug-in instance as a host uses it: created and destroyed, its state saved and restored,
// and a parameter change from the host followed to the bytes that leave for the unit.

#include "Names.h"

#include "core/Eq713kPluginInstance.h"
#include "core/ParamData.h"
#include "support/MessagePump.h"
#include "support/StateBlocks.h"

#if ! JUCE_MAC
 #include "support/SimulatedUnit.h"
#endif

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace
{

/** A change from the host as the VST3 wrapper's edit controller makes it on the message thread. */
void changeFromHost (juce::AudioProcessorParameter& parameter, float value)
{
    if (parameter.getValue() != value)
        parameter.setValueNotifyingHost (value);
}

/** Built, started by the message thread, destroyed and torn down there: the first instance
    of a process also makes and deletes the MIDI manager, a later one shares it. */
void InstanceCreateAndDestroy (benchmark::State& state, bool besideAnother)
{
    std::unique_ptr<Eq713kPluginInstance> another;

    if (besideAnother)
        another = std::make_unique<Eq713kPluginInstance>();

    testing_support::pumpPendingMessages();

    for (auto _ : state)
    {
        auto instance = std::make_unique<Eq713kPluginInstance>();
        testing_support::pumpPendingMessages();
        instance.reset();
        testing_support::pumpPendingMessages();
    }
}

/** A state whose parameters and settings differ from a new instance's. */
juce::MemoryBlock changedState()
{
    Eq713kPluginInstance instance;
    auto& parameters = instance.getParameters();

    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
        changeFromHost (*parameters[id], id % 2 == 0 ? 0.75f : 0.25f);

    instance.getProductManager().setNonAutomatableParamValue (nullptr, ParamData::SELECTED_CHANNEL, 1);
    testing_support::pumpPendingMessages();
    return testing_support::stateOf (instance);
}

void StateSave (benchmark::State& state)
{
    Eq713kPluginInstance instance;
    testing_support::restore (instance, changedState());
    testing_support::pumpPendingMessages();

    for (auto _ : state)
    {
        juce::MemoryBlock block;
        instance.getStateInformation (block);
        benchmark::DoNotOptimize (block.getData());
    }
}

/** Restores a changed and a new instance's state in turn, with the work that each restore
    leaves to the message thread. */
void StateRestore (benchmark::State& state)
{
    Eq713kPluginInstance instance;
    const std::array<juce::MemoryBlock, 2> states { changedState(), testing_support::stateOf (instance) };
    size_t next = 0;

    for (auto _ : state)
    {
        testing_support::restore (instance, states[next]);
        testing_support::pumpPendingMessages();
        next = 1 - next;
    }
}

#if ! JUCE_MAC

using testing_support::SimulatedUnit;

bool isConnected (const Eq713kPluginInstance& instance)
{
    return instance.getProductManager().getNonAutomatableParamValue (ParamData::IS_CONNECTED) == juce::var (true);
}

/** Runs the message thread until the instance has taken the unit (at its poll's first tick)
    and the unit's set-up window and recall are over. */
bool connectAndRecall (const Eq713kPluginInstance& instance, const SimulatedUnit& unit)
{
    // The recall ends with the byte of hardware number 13, which two controls share.
    const auto recalled = [&] { return isConnected (instance) && unit.switchByte (1) >= 0; };

    if (! testing_support::pumpUntil (recalled, 10000) || ! VirtualMidiWorld::waitUntilIdle())
        return false;

    testing_support::pumpPendingMessages();
    return VirtualMidiWorld::waitUntilIdle();
}

/** From the host's change of LO BOOST 1 on the message thread to the value message arriving
    at the simulated unit: the hand-over to the manager, the hardware-parameter object's send
    and the MIDI world's delivery thread. */
void HostChangeToUnit (benchmark::State& state)
{
    SimulatedUnit unit;
    auto instance = std::make_unique<Eq713kPluginInstance>();

    if (connectAndRecall (*instance, unit))
    {
        unit.clearReceived();
        auto& parameter = *instance->getParameters()[ParamData::LO_BOOST_1];
        const std::array<float, 2> values { 0.25f, 0.75f };
        size_t next = 0;

        for (auto _ : state)
        {
            const auto before = unit.receivedCount();
            changeFromHost (parameter, values[next]);

            if (! testing_support::spinUntil ([&] { return unit.receivedCount() > before; }, 5000))
            {
                state.SkipWithError ("the unit never received the change");
                break;
            }

            next = 1 - next;
        }
    }
    else
    {
        state.SkipWithError ("the instance never connected to the simulated unit");
    }

    instance.reset();
    testing_support::pumpPendingMessages();
    VirtualMidiWorld::waitUntilIdle();
}

#endif

} // namespace

CASE_BENCHMARK (InstanceCreateAndDestroy, alone, false)->UseRealTime();
CASE_BENCHMARK (InstanceCreateAndDestroy, besideAnother, true)->UseRealTime();
NAMED_BENCHMARK (StateSave, changedState)->UseRealTime();
NAMED_BENCHMARK (StateRestore, changedAndNewInTurn)->UseRealTime();

#if ! JUCE_MAC
NAMED_BENCHMARK (HostChangeToUnit, loBoost1)->UseRealTime();
#endif
