#pragma once

#include "core/CallGate.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

namespace juce
{

class HvDawParameter;

/** The one store of every value the plug-in keeps: automatable parameters (floats the host
    can automate) and non-automatable settings (vars only the plug-in's own parts change).

    Every change names its source so that a listener is not told of its own change. Changes
    and listeners belong to the message thread: other threads hand their values over through
    HvDawParameter and ThreadBarierNonAutomatableParameter. Any thread may read the stored
    values, each whole and all together from one moment (takeSnapshot), without a lock; a host's
    restore stores its parameters from its own thread (storeRestoredValues).

    The host parameters are owned by the host's processor, which may be destroyed on the host's
    thread while this store lives on until the message thread lets it go: every call from here
    into a host parameter goes through a gate that detachHostParameters closes.
*/
class HvParamsManager : private AsyncUpdater
{
public:
    enum ListenerInitState
    {
        notifyCurrentValue = 0,
        noNotification = 1
    };

    class AutomatableParamListener
    {
    public:
        virtual ~AutomatableParamListener() = default;

        /** Drops changes this listener made itself; override it to see them. */
        virtual void paramValueChanged (AutomatableParamListener* source, int id, float value);
        virtual void paramValueChanged (int id, float value);

        virtual void paramGestureChanged (AutomatableParamListener* source, int id, bool starting);
        virtual void paramGestureChanged (int id, bool starting);
    };

    class NonAutomatableParamListener
    {
    public:
        virtual ~NonAutomatableParamListener() = default;
        virtual void nonAutomatableParamValueChanged (int id, var value) = 0;
    };

    /** A setting's value as other threads read it: bools and numbers, the kinds settings hold;
        a value of any other kind reads there as void. */
    class PublishedSetting
    {
    public:
        void publish (const var& value) noexcept;
        var read() const;

    private:
        enum Kind { voidKind, boolKind, intKind, int64Kind, doubleKind };

        std::atomic<int> kind { voidKind };
        std::atomic<int64> bits { 0 };
    };

    /** The listeners of one id, in registration order, without duplicates. A listener may add
        or remove listeners from inside its callback, itself included: every listener registered
        when a notification starts and still registered when its turn comes is told once; one
        added meanwhile is told from the next notification on. Message thread only. */
    template <typename Listener>
    class ListenerArray
    {
    public:
        ListenerArray() = default;

        void add (Listener* listener)
        {
            if (! contains (listener))
                listeners.push_back (listener);
        }

        void remove (Listener* listener)
        {
            for (auto i = (int) listeners.size(); --i >= 0;)
            {
                if (listeners[(size_t) i] != listener)
                    continue;

                listeners.erase (listeners.begin() + i);

                for (auto* walk = walks; walk != nullptr; walk = walk->outer)
                {
                    if (i < walk->next) --walk->next;
                    if (i < walk->end)  --walk->end;
                }
            }
        }

        bool contains (Listener* listener) const
        {
            return std::find (listeners.begin(), listeners.end(), listener) != listeners.end();
        }

        int size() const noexcept { return (int) listeners.size(); }

        template <typename Call>
        void callEach (Call&& call)
        {
            Walk walk (*this);

            while (walk.next < walk.end)
                call (*listeners[(size_t) walk.next++]);
        }

    private:
        /** One notification under way; nested ones stack on it. */
        struct Walk
        {
            explicit Walk (ListenerArray& l) : list (l), end (l.size()), outer (l.walks) { list.walks = this; }
            ~Walk() { list.walks = outer; }

            ListenerArray& list;
            int next = 0;
            int end;
            Walk* outer;

            JUCE_DECLARE_NON_COPYABLE (Walk)
        };

        std::vector<Listener*> listeners;
        Walk* walks = nullptr;

        JUCE_DECLARE_NON_COPYABLE (ListenerArray)
    };

    struct AutomatableParameter
    {
        AutomatableParameter (HvParamsManager& owner, HvDawParameter* hostParameter, int id, float value);

        void endParamGesture (AutomatableParamListener* source);

        HvDawParameter* hostParameter;
        AutomatableParamListener* hostListener; // the host parameter as a listener, for comparison
        ListenerArray<AutomatableParamListener> listeners;
        HvParamsManager& manager;
        int id;
        std::atomic<float> value;
        int gestureCount = 0;
        std::atomic<bool> hostChangeWaiting { false };
    };

    struct NonAutomatableParamData
    {
        explicit NonAutomatableParamData (var initialValue);

        var value;
        PublishedSetting published;
        ListenerArray<NonAutomatableParamListener> listeners;
    };

    /** Every stored value, by id. */
    struct Snapshot
    {
        std::vector<float> params;
        std::vector<var> settings;
    };

    HvParamsManager() = default;
    ~HvParamsManager() override;

    virtual void setParamValue (AutomatableParamListener* source, int id, float value);
    virtual void beginParamGesture (AutomatableParamListener* source, int id);
    virtual void endParamGesture (AutomatableParamListener* source, int id);
    virtual void setNonAutomatableParamValue (NonAutomatableParamListener* source, int id, var value);

    void addParamListener (AutomatableParamListener* listener, int id, ListenerInitState state);
    void removeParamListener (AutomatableParamListener* listener, int id);
    void addNonAutomatableParamListener (NonAutomatableParamListener* listener, int id, ListenerInitState state);
    void removeNonAutomatableParamListener (NonAutomatableParamListener* listener, int id);

    /** Any thread. */
    float getParamValue (int id) const;

    /** Message thread. */
    var getNonAutomatableParamValue (int id) const;

    int getNumParams() const noexcept { return automatableParams.size(); }
    int getNumNonAutomatableParams() const noexcept { return nonAutomatableParams.size(); }

    /** The host parameter of an id, or nullptr for an id outside the table. */
    HvDawParameter* getHostParameter (int id) const;

    /** Whether the source is one of the host parameters; compares addresses only, so it may be
        asked about one that the host has already destroyed. */
    bool isHostParameter (const AutomatableParamListener* source) const noexcept;

    /** Any thread: every stored value, all from one moment between two changes. */
    Snapshot takeSnapshot() const;

    /** Any thread, during a host's restore: stores the values as one change and makes them the
        host parameters' values at once; with reportToHost the host parameters' listeners (the
        host's wrapper) are told too, without a gesture. Nobody else is told: the caller has the
        message thread tell the listeners (notifyStoredValue). */
    void storeRestoredValues (const std::vector<std::pair<int, float>>& values, bool reportToHost);

    /** Tells every listener of the id its stored value, as a change by the source, without
        storing anything. */
    void notifyStoredValue (AutomatableParamListener* source, int id);

    /** Any thread: the host changed the host parameter of the id; its value reaches the store
        later, from the message thread, with the host parameter as the source. */
    void handOverHostChange (int id);

    /** Any thread, before the host parameters are destroyed: nothing here calls them
        afterwards, and a gesture still open at the host is ended there. Waits only for a call
        into them that the message thread is making. */
    void detachHostParameters();

protected:
    /** Appends the record of the next id; the host parameter becomes its first listener and
        its default the stored value. */
    void addAutomatableParam (HvDawParameter& hostParameter);
    void addNonAutomatableParam (var initialValue);

private:
    /** Lets readers on any thread copy several values that no writer touched while they were
        read, without making a writer wait. Writers may be on several threads at once. */
    class WriteSequence
    {
    public:
        class ScopedWrite
        {
        public:
            explicit ScopedWrite (WriteSequence& s) noexcept : sequence (s) { sequence.writers.fetch_add (1); }
            ~ScopedWrite() { sequence.version.fetch_add (1); sequence.writers.fetch_sub (1); }

        private:
            WriteSequence& sequence;
            JUCE_DECLARE_NON_COPYABLE (ScopedWrite)
        };

        /** Calls read until it ran with no writer at work from its start to its end. */
        template <typename Read>
        void readConsistently (Read&& read) const
        {
            for (;;)
            {
                const auto before = version.load();

                if (writers.load() == 0)
                {
                    read();

                    if (writers.load() == 0 && version.load() == before)
                        return;
                }

                std::this_thread::yield();
            }
        }

    private:
        std::atomic<int> writers { 0 };
        std::atomic<uint64> version { 0 };
    };

    void handleAsyncUpdate() override;

    /** Calls a listener of the parameter; a call into its host parameter goes through the gate
        and is skipped once the host parameters are gone. */
    template <typename Call>
    void tell (const AutomatableParameter& param, AutomatableParamListener& listener, Call&& call);

    /** Calls every listener of the parameter, as tell does. */
    template <typename Call>
    void tellEach (AutomatableParameter& param, Call&& call);

    AutomatableParameter* findParam (int id) const;
    NonAutomatableParamData* findNonAutomatableParam (int id) const;

    OwnedArray<AutomatableParameter> automatableParams;
    OwnedArray<NonAutomatableParamData> nonAutomatableParams;
    WriteSequence writeSequence;

    // The message thread's way into the host parameters, which the host destroys on a thread
    // of its own: a call goes in only while they exist, and their destruction waits for the
    // calls already inside and for nothing else.
    CallGate hostObjects;

    JUCE_DECLARE_NON_COPYABLE (HvParamsManager)
};

} // namespace juce
