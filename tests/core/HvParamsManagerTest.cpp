#include "core/HvParamsManager.h"

#include "support/TestParamsManager.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using juce::HvParamsManager;
using testing_support::HostEvent;

namespace
{

/** Every notification of every recorder and of the host, in the order they happened. */
using Log = std::vector<std::string>;

class RecordingListener : public HvParamsManager::AutomatableParamListener,
                          public HvParamsManager::NonAutomatableParamListener
{
public:
    RecordingListener (std::string listenerName, Log& sharedLog) : name (std::move (listenerName)), log (sharedLog) {}

    using AutomatableParamListener::paramValueChanged;
    using AutomatableParamListener::paramGestureChanged;

    void paramValueChanged (int id, float value) override
    {
        log.push_back (name + " value " + std::to_string (id) + " " + juce::String (value, 2).toStdString());
        values.push_back (value);
        if (onValue)
            onValue (id, value);
    }

    void paramGestureChanged (int id, bool starting) override
    {
        log.push_back (name + (starting ? " begin " : " end ") + std::to_string (id));
    }

    void nonAutomatableParamValueChanged (int id, juce::var value) override
    {
        log.push_back (name + " setting " + std::to_string (id) + " " + value.toString().toStdString());
    }

    std::string name;
    Log& log;
    std::vector<float> values;
    std::function<void (int, float)> onValue;
};

/** Records host notifications into the shared log, so the host's place in the order shows. */
class HostLogger : public juce::AudioProcessorListener
{
public:
    explicit HostLogger (Log& sharedLog) : log (sharedLog) {}

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        log.push_back ("host value " + std::to_string (index) + " " + juce::String (value, 2).toStdString());
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        log.push_back ("host begin " + std::to_string (index));
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        log.push_back ("host end " + std::to_string (index));
    }

    Log& log;
};

class HvParamsManagerTest : public ::testing::Test
{
protected:
    HvParamsManagerTest() { processor.addListener (&host); }
    ~HvParamsManagerTest() override { processor.removeListener (&host); }

    Log log;
    testing_support::TestProcessor processor;
    testing_support::TestParamsManager manager { processor, 3, 2 };
    HostLogger host { log };
    RecordingListener a { "a", log };
    RecordingListener b { "b", log };
};

TEST_F (HvParamsManagerTest, TellsTheHostFirstThenListenersInRegistrationOrderEvenForAnUnchangedValue)
{
    manager.addParamListener (&b, 1, HvParamsManager::noNotification);
    manager.addParamListener (&a, 1, HvParamsManager::noNotification);

    manager.setParamValue (nullptr, 1, 0.5f);
    manager.setParamValue (nullptr, 1, 0.5f);

    const Log expected { "host value 1 0.50", "b value 1 0.50", "a value 1 0.50",
                         "host value 1 0.50", "b value 1 0.50", "a value 1 0.50" };
    EXPECT_EQ (log, expected);
    EXPECT_FLOAT_EQ (manager.getParamValue (1), 0.5f);
}

TEST_F (HvParamsManagerTest, TheSourceIsNotToldOfItsOwnChange)
{
    manager.addParamListener (&a, 0, HvParamsManager::noNotification);
    manager.addParamListener (&b, 0, HvParamsManager::noNotification);
    manager.addNonAutomatableParamListener (&a, 1, HvParamsManager::noNotification);
    manager.addNonAutomatableParamListener (&b, 1, HvParamsManager::noNotification);

    manager.setParamValue (&a, 0, 0.75f);
    manager.beginParamGesture (&a, 0);
    manager.endParamGesture (&a, 0);
    manager.setNonAutomatableParamValue (&b, 1, true);

    const Log expected { "host value 0 0.75", "b value 0 0.75",
                         "host begin 0", "b begin 0", "host end 0", "b end 0",
                         "a setting 1 1" };
    EXPECT_EQ (log, expected);
}

TEST_F (HvParamsManagerTest, AListenerOverridingTheSourceFormSeesItsOwnChange)
{
    struct SourceAware : HvParamsManager::AutomatableParamListener
    {
        using AutomatableParamListener::paramValueChanged;
        void paramValueChanged (AutomatableParamListener* source, int, float) override { sources.push_back (source); }
        std::vector<AutomatableParamListener*> sources;
    } listener;

    manager.addParamListener (&listener, 2, HvParamsManager::noNotification);
    manager.setParamValue (&listener, 2, 0.1f);
    manager.setParamValue (nullptr, 2, 0.2f);

    const std::vector<HvParamsManager::AutomatableParamListener*> expected { &listener, nullptr };
    EXPECT_EQ (listener.sources, expected);
}

TEST_F (HvParamsManagerTest, AReentrantSetReachesTheLaterListenersOfTheFirstChange)
{
    manager.addParamListener (&a, 1, HvParamsManager::noNotification);
    manager.addParamListener (&b, 1, HvParamsManager::noNotification);
    a.onValue = [this] (int id, float value)
    {
        if (value < 0.5f)
            manager.setParamValue (&a, id, 0.9f);
    };

    manager.setParamValue (nullptr, 1, 0.1f);

    EXPECT_EQ (a.values, (std::vector<float> { 0.1f }));
    EXPECT_EQ (b.values, (std::vector<float> { 0.9f, 0.9f }));
    EXPECT_FLOAT_EQ (manager.getParamValue (1), 0.9f);
}

TEST_F (HvParamsManagerTest, NestedGesturesTellOnceAtTheFirstBeginAndTheLastEnd)
{
    manager.addParamListener (&a, 1, HvParamsManager::noNotification);

    manager.beginParamGesture (nullptr, 1);
    manager.beginParamGesture (nullptr, 1);
    manager.endParamGesture (nullptr, 1);
    EXPECT_EQ (log, (Log { "host begin 1", "a begin 1" }));

    manager.endParamGesture (nullptr, 1);
    EXPECT_EQ (log, (Log { "host begin 1", "a begin 1", "host end 1", "a end 1" }));
}

TEST_F (HvParamsManagerTest, AnUnbalancedEndIsIgnoredAndLaterGesturesStillReachEveryone)
{
    manager.addParamListener (&a, 1, HvParamsManager::noNotification);

    manager.endParamGesture (nullptr, 1);
    manager.endParamGesture (nullptr, 1);
    EXPECT_TRUE (log.empty());

    manager.beginParamGesture (nullptr, 1);
    manager.endParamGesture (nullptr, 1);
    EXPECT_EQ (log, (Log { "host begin 1", "a begin 1", "host end 1", "a end 1" }));
}

TEST_F (HvParamsManagerTest, NotifyCurrentValueTellsAtOnceOnEveryRegistrationWithoutDuplicates)
{
    manager.setParamValue (nullptr, 2, 0.6f);
    manager.setNonAutomatableParamValue (nullptr, 0, 7);
    log.clear();

    manager.addParamListener (&a, 2, HvParamsManager::notifyCurrentValue);
    manager.addParamListener (&a, 2, HvParamsManager::notifyCurrentValue);
    manager.addParamListener (&b, 2, HvParamsManager::noNotification);
    manager.addParamListener (&b, 2, static_cast<HvParamsManager::ListenerInitState> (5));
    manager.addNonAutomatableParamListener (&a, 0, HvParamsManager::notifyCurrentValue);
    manager.addNonAutomatableParamListener (&a, 0, HvParamsManager::notifyCurrentValue);
    manager.addNonAutomatableParamListener (&b, 0, HvParamsManager::noNotification);
    EXPECT_EQ (log, (Log { "a value 2 0.60", "a value 2 0.60", "a setting 0 7", "a setting 0 7" }));

    log.clear();
    manager.setParamValue (nullptr, 2, 0.3f);
    manager.setNonAutomatableParamValue (nullptr, 0, 8);
    EXPECT_EQ (log, (Log { "host value 2 0.30", "a value 2 0.30", "b value 2 0.30", "a setting 0 8", "b setting 0 8" }));
}

TEST_F (HvParamsManagerTest, RemovingStopsNotificationsAndAnUnregisteredListenerIsIgnored)
{
    manager.addParamListener (&a, 1, HvParamsManager::noNotification);
    manager.addNonAutomatableParamListener (&a, 1, HvParamsManager::noNotification);

    manager.removeParamListener (&b, 1);
    manager.removeParamListener (&a, 0);
    manager.removeNonAutomatableParamListener (&b, 1);
    manager.setParamValue (nullptr, 1, 0.4f);
    manager.setNonAutomatableParamValue (nullptr, 1, 3);
    EXPECT_EQ (log, (Log { "host value 1 0.40", "a value 1 0.40", "a setting 1 3" }));

    log.clear();
    manager.removeParamListener (&a, 1);
    manager.removeNonAutomatableParamListener (&a, 1);
    manager.setParamValue (nullptr, 1, 0.5f);
    manager.setNonAutomatableParamValue (nullptr, 1, 4);
    EXPECT_EQ (log, (Log { "host value 1 0.50" }));
}

TEST_F (HvParamsManagerTest, IdsOutsideTheTablesAreIgnoredByEveryOperation)
{
    for (const int id : { -1, 3, 1000 })
    {
        SCOPED_TRACE (id);
        const int settingId = id == 3 ? 2 : id;

        manager.addParamListener (&a, id, HvParamsManager::notifyCurrentValue);
        manager.addNonAutomatableParamListener (&a, settingId, HvParamsManager::notifyCurrentValue);
        manager.setParamValue (nullptr, id, 0.9f);
        manager.beginParamGesture (nullptr, id);
        manager.endParamGesture (nullptr, id);
        manager.setNonAutomatableParamValue (nullptr, settingId, true);
        manager.removeParamListener (&a, id);
        manager.removeNonAutomatableParamListener (&a, settingId);

        EXPECT_EQ (manager.getParamValue (id), 0.0f);
        const auto setting = manager.getNonAutomatableParamValue (settingId);
        EXPECT_TRUE (setting.isInt());
        EXPECT_EQ (static_cast<int> (setting), -1);
        EXPECT_EQ (manager.getHostParameter (id), nullptr);
    }

    EXPECT_TRUE (log.empty());
    for (int id = 0; id < manager.getNumParams(); ++id)
        EXPECT_FLOAT_EQ (manager.getParamValue (id), 0.25f);
}

TEST_F (HvParamsManagerTest, SettingsKeepTheirTypeAndAreReplacedWithoutAnEqualityTest)
{
    manager.addNonAutomatableParamListener (&a, 1, HvParamsManager::noNotification);

    EXPECT_TRUE (manager.getNonAutomatableParamValue (1).isInt());
    manager.setNonAutomatableParamValue (nullptr, 1, true);
    manager.setNonAutomatableParamValue (nullptr, 1, true);

    EXPECT_TRUE (manager.getNonAutomatableParamValue (1).isBool());
    EXPECT_EQ (log, (Log { "a setting 1 1", "a setting 1 1" }));
}

TEST_F (HvParamsManagerTest, OnceTheHostParametersAreDetachedNothingReachesThemAndTheirOpenGestureHasEnded)
{
    manager.addParamListener (&a, 0, HvParamsManager::noNotification);
    manager.beginParamGesture (nullptr, 0);
    log.clear();

    manager.detachHostParameters();
    EXPECT_EQ (log, (Log { "host end 0" }));

    manager.setParamValue (nullptr, 0, 0.5f);
    manager.endParamGesture (nullptr, 0);
    EXPECT_EQ (log, (Log { "host end 0", "a value 0 0.50", "a end 0" }));
}

/** Four listeners of one parameter and one setting; the second changes the lists from inside
    its first callback, through whichever of the three kinds of notification comes first. */
class ListChangeDuringNotificationTest : public ::testing::Test
{
public:
    struct Listener : HvParamsManager::AutomatableParamListener,
                      HvParamsManager::NonAutomatableParamListener
    {
        Listener (std::string listenerName, Log& sharedLog) : name (std::move (listenerName)), log (sharedLog) {}

        using AutomatableParamListener::paramValueChanged;
        using AutomatableParamListener::paramGestureChanged;

        void paramValueChanged (int, float) override             { heard(); }
        void paramGestureChanged (int, bool) override            { heard(); }
        void nonAutomatableParamValueChanged (int, juce::var) override { heard(); }

        void heard()
        {
            log.push_back (name);
            if (auto action = std::exchange (duringFirstCall, nullptr))
                action();
        }

        std::string name;
        Log& log;
        std::function<void()> duringFirstCall;
    };

    enum class Kind { value, gesture, setting };

    void add (Listener& l)
    {
        manager.addParamListener (&l, id, HvParamsManager::noNotification);
        manager.addNonAutomatableParamListener (&l, id, HvParamsManager::noNotification);
    }

    void remove (Listener& l)
    {
        manager.removeParamListener (&l, id);
        manager.removeNonAutomatableParamListener (&l, id);
    }

    Log notify (Kind kind)
    {
        log.clear();

        switch (kind)
        {
            case Kind::value:   manager.setParamValue (nullptr, id, 0.5f); break;
            case Kind::gesture: manager.beginParamGesture (nullptr, id); manager.endParamGesture (nullptr, id); break;
            case Kind::setting: manager.setNonAutomatableParamValue (nullptr, id, 9); break;
        }

        return log;
    }

    static constexpr int id = 1;
    Log log;
    testing_support::TestProcessor processor;
    testing_support::TestParamsManager manager { processor, 2, 2 };
    Listener a { "a", log }, b { "b", log }, c { "c", log }, d { "d", log }, e { "e", log };
};

TEST_F (ListChangeDuringNotificationTest, EveryListenerStillRegisteredIsToldOnceAndOneAddedWaitsForTheNextChange)
{
    const struct
    {
        const char* change;
        std::function<void (ListChangeDuringNotificationTest&)> action;
        Log duringChange;
        Log nextChange;
    } cases[] {
        { "b removes itself",          [] (auto& t) { t.remove (t.b); },              { "a", "b", "c", "d" }, { "a", "c", "d" } },
        { "b removes the one before",  [] (auto& t) { t.remove (t.a); },              { "a", "b", "c", "d" }, { "b", "c", "d" } },
        { "b removes the one after",   [] (auto& t) { t.remove (t.c); },              { "a", "b", "d" },      { "a", "b", "d" } },
        { "b removes two before and after", [] (auto& t) { t.remove (t.a); t.remove (t.b); t.remove (t.d); },
                                                                                     { "a", "b", "c" },      { "c" } },
        { "b adds a new one",          [] (auto& t) { t.add (t.e); },                 { "a", "b", "c", "d" }, { "a", "b", "c", "d", "e" } },
        { "b removes and adds itself", [] (auto& t) { t.remove (t.b); t.add (t.b); }, { "a", "b", "c", "d" }, { "a", "c", "d", "b" } },
        { "b removes one after and adds it again", [] (auto& t) { t.remove (t.c); t.add (t.c); },
                                                                                     { "a", "b", "d" },      { "a", "b", "d", "c" } },
    };

    for (const auto kind : { Kind::value, Kind::gesture, Kind::setting })
    {
        for (const auto& testCase : cases)
        {
            SCOPED_TRACE (testCase.change + std::string (" kind ") + std::to_string ((int) kind));

            for (auto* l : { &a, &b, &c, &d, &e })
                remove (*l);
            for (auto* l : { &a, &b, &c, &d })
                add (*l);

            b.duringFirstCall = [this, &testCase] { testCase.action (*this); };

            // A gesture tells everyone twice, at its begin and its end.
            auto expected = testCase.duringChange;
            auto expectedNext = testCase.nextChange;
            if (kind == Kind::gesture)
            {
                Log atEnd = testCase.nextChange;
                expected.insert (expected.end(), atEnd.begin(), atEnd.end());
                expectedNext.insert (expectedNext.end(), atEnd.begin(), atEnd.end());
            }

            EXPECT_EQ (notify (kind), expected);
            EXPECT_EQ (notify (kind), expectedNext);
        }
    }
}

TEST (HvParamsManagerSnapshotTest, ASnapshotOnAnyThreadIsOneMomentWhileAnotherThreadStoresRestoredValues)
{
    testing_support::TestProcessor processor;
    testing_support::TestParamsManager manager (processor, 19, 2);

    const auto allAt = [] (float value)
    {
        std::vector<std::pair<int, float>> values;
        for (int id = 0; id < 19; ++id)
            values.emplace_back (id, value);
        return values;
    };

    const std::vector<std::pair<int, float>> restores[] { allAt (0.25f), allAt (0.75f) };
    manager.storeRestoredValues (restores[0], false);

    std::atomic<bool> storing { true };
    std::atomic<int> torn { 0 };

    std::thread reader ([&]
    {
        while (storing)
        {
            const auto snapshot = manager.takeSnapshot();

            for (auto value : snapshot.params)
                if (value != snapshot.params.front())
                    ++torn;
        }
    });

    for (int i = 0; i < 200000; ++i)
        manager.storeRestoredValues (restores[i % 2], false);

    storing = false;
    reader.join();

    EXPECT_EQ (torn.load(), 0);
    EXPECT_EQ (processor.getParameters()[18]->getValue(), 0.75f);
}

} // namespace
