#include "core/Eq713kPluginInstance.h"

#include "core/Ids.h"
#include "core/StateFormat.h"
#include "support/MessagePump.h"
#include "support/StateBlocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace
{

using juce::AudioChannelSet;

juce::int32 code (const char (&c)[5])
{
    return (juce::int32) (((juce::uint32) (juce::uint8) c[0] << 24) | ((juce::uint32) (juce::uint8) c[1] << 16)
                        | ((juce::uint32) (juce::uint8) c[2] << 8) | (juce::uint32) (juce::uint8) c[3]);
}

TEST (Eq713kPluginInstanceTest, ProcessorProperties)
{
    Eq713kPluginInstance instance;

    EXPECT_EQ (instance.getName(), "Halvorstine EQ713K");
    EXPECT_EQ (instance.getAlternateDisplayNames(), juce::StringArray ({ "Eq713k", "EQ 713K", "Halvorstine EQ 713K" }));
    EXPECT_EQ (instance.getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (instance.acceptsMidi());
    EXPECT_TRUE (instance.producesMidi());
    EXPECT_FALSE (instance.isMidiEffect());
    EXPECT_EQ (instance.getNumPrograms(), 1);
    EXPECT_EQ (instance.getCurrentProgram(), 0);
    instance.setCurrentProgram (3);
    EXPECT_EQ (instance.getCurrentProgram(), 0);
    EXPECT_EQ (instance.getProgramName (0), "Default");
    EXPECT_EQ (instance.getProgramName (7), "");

    ASSERT_EQ (instance.getBusCount (true), 1);
    ASSERT_EQ (instance.getBusCount (false), 1);
    EXPECT_EQ (instance.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (instance.getBus (false, 0)->getName(), "Output");
    EXPECT_EQ (instance.getMainBusNumInputChannels(), 2);
    EXPECT_EQ (instance.getMainBusNumOutputChannels(), 2);
}

TEST (Eq713kPluginInstanceTest, TheHostIndexOfEachParameterIsItsIdAndItSeesTheValueTexts)
{
    Eq713kPluginInstance instance;
    const auto& parameters = instance.getParameters();

    ASSERT_EQ (parameters.size(), ParamData::NUM_PARAMS);
    for (int id = 0; id < ParamData::NUM_PARAMS; ++id)
    {
        EXPECT_EQ (parameters[id]->getParameterIndex(), id);
        EXPECT_EQ (parameters[id]->getName (64), ParamData::paramName[id]);
        EXPECT_EQ (parameters[id]->getCurrentValueAsText(), instance.getProductManager().getCurrentValueAsText (id));
    }
    EXPECT_EQ (parameters[0]->getCurrentValueAsText(), "LINK");
    EXPECT_EQ (parameters[1]->getCurrentValueAsText(), "ON");
    EXPECT_EQ (parameters[2]->getCurrentValueAsText(), "0.0");
}

TEST (Eq713kPluginInstanceTest, AudioPassesThroughUntouched)
{
    Eq713kPluginInstance instance;
    instance.prepareToPlay (48000.0, 256);
    instance.getParameters()[ParamData::ENGAGE_1]->setValue (0.0f);
    instance.getParameters()[ParamData::LO_BOOST_1]->setValue (1.0f);
    testing_support::pumpPendingMessages();

    std::mt19937 random (713);
    std::uniform_real_distribution<float> sample (-1.0f, 1.0f);
    juce::AudioBuffer<float> buffer (2, 256);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 256; ++i)
            buffer.setSample (ch, i, sample (random));

    juce::AudioBuffer<float> original (buffer);
    juce::MidiBuffer midi;
    instance.processBlock (buffer, midi);
    instance.releaseResources();

    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (std::memcmp (buffer.getReadPointer (ch), original.getReadPointer (ch), 256 * sizeof (float)), 0);
    EXPECT_TRUE (midi.isEmpty());
}

TEST (Eq713kPluginInstanceTest, AcceptsExactlyMonoToMonoAndStereoToStereo)
{
    Eq713kPluginInstance instance;

    const struct { AudioChannelSet in, out; bool supported; } cases[] = {
        { AudioChannelSet::mono(), AudioChannelSet::mono(), true },
        { AudioChannelSet::stereo(), AudioChannelSet::stereo(), true },
        { AudioChannelSet::mono(), AudioChannelSet::stereo(), false },
        { AudioChannelSet::stereo(), AudioChannelSet::mono(), false },
        { AudioChannelSet::create5point1(), AudioChannelSet::create5point1(), false },
        { AudioChannelSet::disabled(), AudioChannelSet::disabled(), false },
    };

    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (instance.checkBusesLayoutSupported (layout), c.supported)
            << c.in.getDescription() << " to " << c.out.getDescription();
    }
}

TEST (Eq713kPluginInstanceTest, PluginIdForTheMainBusLayout)
{
    Eq713kPluginInstance instance;

    const struct { AudioChannelSet in, out; bool offline; juce::int32 expected; } cases[] = {
        { AudioChannelSet::mono(), AudioChannelSet::mono(), false, code ("jcaa") },
        { AudioChannelSet::mono(), AudioChannelSet::mono(), true, code ("jcaa") },
        { AudioChannelSet::stereo(), AudioChannelSet::stereo(), false, code ("jcab") },
        { AudioChannelSet::stereo(), AudioChannelSet::stereo(), true, code ("jcab") },
        { AudioChannelSet::mono(), AudioChannelSet::stereo(), false, code ("jcaa") },
        { AudioChannelSet::mono(), AudioChannelSet::stereo(), true, code ("jyaa") },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (instance.getPluginIDForMainBusConfig (c.in, c.out, c.offline), c.expected);
        EXPECT_EQ (instance.getAAXPluginIDForMainBusConfig (c.in, c.out, c.offline), c.expected);
    }
}

TEST (Eq713kPluginInstanceTest, SeveralInstancesComeAndGoInAnyOrder)
{
    std::vector<std::unique_ptr<Eq713kPluginInstance>> instances;
    for (int i = 0; i < 4; ++i)
        instances.push_back (std::make_unique<Eq713kPluginInstance>());

    // Leave work pending in each: host changes, a linked change and commands not yet delivered.
    for (auto& instance : instances)
    {
        instance->getParameters()[ParamData::LO_CPS_1]->setValue (0.0f);
        instance->getProductManager().setParamValue (nullptr, ParamData::HI_BOOST_1, 0.5f);
        instance->sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::showDeviceSelector));
        instance->sendCommand (std::make_unique<juce::HvCommand> (Ids::hvEq713k::showDeviceSelector));
    }

    instances.erase (instances.begin() + 2);
    instances.erase (instances.begin());
    testing_support::pumpPendingMessages();
    instances.push_back (std::make_unique<Eq713kPluginInstance>());
    instances.clear();
    testing_support::pumpPendingMessages();
}

TEST (Eq713kPluginInstanceTest, BuiltUsedAndDestroyedOnAHostThreadWhileTheMessageThreadRuns)
{
    // As the LV2 wrapper on Linux does: the host's thread owns the instance while the
    // message thread delivers the instance's updates.
    std::atomic<bool> done { false };
    std::thread host ([&done]
    {
        for (int round = 0; round < 20; ++round)
        {
            Eq713kPluginInstance instance;
            for (auto* parameter : instance.getParameters())
                parameter->setValue ((float) (round % 5) / 4.0f);

            juce::MemoryBlock state;
            instance.getStateInformation (state);
            instance.setStateInformation (state.getData(), (int) state.getSize());
        }
        done = true;
    });

    EXPECT_TRUE (testing_support::pumpUntil ([&done] { return done.load(); }, 60000));
    host.join();
    testing_support::pumpPendingMessages();
}

/** A state in "DUAL MONO" with every control at the value. */
juce::MemoryBlock everyControlAt (float value)
{
    Eq713kPluginInstance source;
    auto& manager = source.getProductManager();
    manager.setParamValue (nullptr, ParamData::CHANNEL, 1.0f);
    for (int id = 1; id < ParamData::NUM_PARAMS; ++id)
        manager.setParamValue (nullptr, id, value);
    return testing_support::stateOf (source);
}

TEST (Eq713kPluginInstanceTest, HostThreadsSaveAndRestoreWhileTheMessageThreadWorksEachSaveAWholeState)
{
    Eq713kPluginInstance instance;
    const juce::MemoryBlock blocks[] { everyControlAt (0.25f), everyControlAt (0.75f) };
    testing_support::restore (instance, blocks[0]);

    std::atomic<bool> restoring { true };
    std::atomic<int> torn { 0 }, saves { 0 };

    std::thread restorer ([&]
    {
        for (int i = 1; i <= 400; ++i)
            testing_support::restore (instance, blocks[i % 2]);
        restoring = false;
    });

    std::thread saver ([&]
    {
        const auto current = instance.getProductManager().takeSnapshot();

        while (restoring)
        {
            const auto block = testing_support::stateOf (instance);
            const auto restored = StateFormat::read (block.getData(), block.getSize(), current);
            ++saves;

            for (size_t i = 1; i < restored.parameters.size(); ++i)
                if (restored.parameters[i].second != restored.parameters[1].second)
                    ++torn;
        }
    });

    // Meanwhile the message thread tells the listeners and applies the settings, and changes
    // a setting of its own.
    auto doubleWindow = false;
    EXPECT_TRUE (testing_support::pumpUntil ([&]
    {
        doubleWindow = ! doubleWindow;
        instance.getProductManager().setNonAutomatableParamValue (nullptr, ParamData::DOUBLE_WINDOW, doubleWindow);
        return ! restoring.load();
    }, 60000));

    restorer.join();
    saver.join();
    testing_support::pumpPendingMessages();

    EXPECT_GT (saves.load(), 0);
    EXPECT_EQ (torn.load(), 0) << "a save mixed two restores";
}

/** A host that holds one lock across each of its calls into the plug-in, and takes the same
    lock to handle the plug-in's calls back (a change or a gesture reported to it), as a host
    that guards its session with one lock does. Its plug-ins report as they do to a VST3 host.
    A call back that cannot get the lock in time gives up and is counted: without the time
    limit, host and plug-in would wait for each other for ever. */
class StandInHost : public juce::AudioProcessorListener
{
public:
    std::unique_ptr<Eq713kPluginInstance> create()
    {
        juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_VST3);
        auto instance = std::make_unique<Eq713kPluginInstance>();
        instance->addListener (this);
        return instance;
    }

    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override { handleCallBack(); }
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int) override { handleCallBack(); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int) override { handleCallBack(); }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    bool waitForACallBackWaitingForTheLock() const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (10);

        while (callsBackWaiting.load() == 0)
        {
            if (std::chrono::steady_clock::now() > deadline)
                return false;

            std::this_thread::yield();
        }

        return true;
    }

    std::recursive_mutex lock;
    std::atomic<int> callsBackWaiting { 0 };
    std::atomic<int> callsBackGivenUp { 0 };

private:
    void handleCallBack()
    {
        ++callsBackWaiting;

        if (tryLockFor (std::chrono::seconds (10)))
            lock.unlock();
        else
            ++callsBackGivenUp;

        --callsBackWaiting;
    }

    // Polled rather than timed: ThreadSanitizer does not follow a timed lock of the mutex.
    bool tryLockFor (std::chrono::seconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;

        while (! lock.try_lock())
        {
            if (std::chrono::steady_clock::now() > deadline)
                return false;

            std::this_thread::sleep_for (std::chrono::milliseconds (1));
        }

        return true;
    }
};

TEST (Eq713kPluginInstanceTest, AHostHoldingItsLockWhileTheMessageThreadWaitsForItBuildsSavesRestoresAndDestroys)
{
    StandInHost host;
    std::unique_ptr<Eq713kPluginInstance> first, second;
    std::atomic<bool> done { false }, calledBack { false };

    std::thread hostThread ([&]
    {
        {
            const std::lock_guard<std::recursive_mutex> hold (host.lock);
            first = host.create();
            second = host.create();
        }

        const std::lock_guard<std::recursive_mutex> hold (host.lock);
        testing_support::restore (*first, everyControlAt (0.5f));

        // A knob turned on the unit: the message thread reports it, and waits for the host.
        auto* reporting = first.get();
        juce::MessageManager::callAsync ([reporting]
        {
            reporting->getProductManager().setParamValue (nullptr, ParamData::LO_BOOST_1, 0.3f);
        });
        calledBack = host.waitForACallBackWaitingForTheLock();

        // Every kind of call, on both instances, while the message thread waits.
        second.reset();
        auto third = host.create();
        const auto saved = testing_support::stateOf (*first);
        testing_support::restore (*first, saved);
        testing_support::restore (*third, saved);
        EXPECT_EQ (testing_support::stateOf (*third), saved);
        third.reset();

        done = true;
    });

    EXPECT_TRUE (testing_support::pumpUntil ([&] { return done.load(); }, 60000));
    hostThread.join();
    testing_support::pumpPendingMessages();

    EXPECT_TRUE (calledBack.load());
    EXPECT_EQ (host.callsBackGivenUp.load(), 0) << "the host and the message thread waited for each other";

    first.reset();
    testing_support::pumpPendingMessages();
}

} // namespace
