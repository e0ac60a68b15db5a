#pragma once

#include "link/MidiDevice.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>
#include <vector>

namespace juce
{

/** The one object per process that finds the units, learns their serial numbers, keeps the
    list of usable units, hands a unit to one holder at a time and tells interested views when
    that list changes. The first plug-in instance creates it, the last one deletes it.
    Message thread only, except where noted.
*/
class MidiManager : private AsyncUpdater
{
public:
    /** Told on the message thread, after any number of changes of the connection list. */
    class ConnectionListListener
    {
    public:
        virtual ~ConnectionListListener() = default;
        virtual void connectionListChanged() = 0;
    };

    /** One unit of the connection list as handed out. */
    struct ConnectionStatus
    {
        enum Status
        {
            inUse = 1,
            available = 2
        };

        int serialNo = -1;
        int status = available;
        MidiDevice::Listener* owner = nullptr;
    };

    class Pimpl;

    ~MidiManager() override;

    JUCE_DECLARE_SINGLETON (MidiManager, false)

    void registerPluginInstance();
    /** The call that brings the count back to 0 deletes the manager. */
    void unregisterPluginInstance();
    bool isInitialised() const noexcept { return initialised; }
    int getNumPluginInstances() const noexcept { return pluginInstanceCount.load(); }

    void initialize (StringArray& names);

    /** Gives the only free unit to the listener, if exactly one unit is free. */
    bool connectIfOneDevice (MidiDevice::Listener* listener, int& serialNo);
    /** Gives the first free unit with that serial number to the listener. */
    bool connectIfSerialNo (int serialNo, MidiDevice::Listener* listener);
    /** Takes back the unit the listener holds, then tells the listener it is gone. */
    void disconnect (MidiDevice::Listener* listener);

    /** The listeners belong to the process, not to one manager: a listener added before the
        manager exists, or while one manager goes and the next comes, hears every manager's list
        until it is removed. */
    static void addConnectionListListener (ConnectionListListener* listener);
    static void removeConnectionListListener (ConnectionListListener* listener);

    /** One entry per listed unit, in list order; empty when there is none. */
    std::unique_ptr<OwnedArray<ConnectionStatus>> getConnectionList() const;

private:
    friend class Pimpl;

    MidiManager();

    void handleAsyncUpdate() override;
    void tellConnectionListListeners() { triggerAsyncUpdate(); }

    /** Clears the holder, waiting for receive calls still inside it, then tells it. */
    static void releaseHolder (MidiDevice& device);
    void connect (MidiDevice& device, MidiDevice::Listener* listener);

    bool initialised = false;
    std::atomic<int> pluginInstanceCount { 0 };
    StringArray nameFilter;
    std::vector<std::unique_ptr<MidiDevice>> connectionList;
    std::unique_ptr<Pimpl> pimpl;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiManager)
};

} // namespace juce
