#include "link/MidiManager.h"

#include <algorithm>

namespace juce
{

namespace
{
constexpr const char* clientName = "Halvorstine Remote MIDI";

/** The device's name as ASCII, or nothing when it cannot be read or does not convert. */
bool readAsciiName (MIDIDeviceRef device, std::string& name)
{
    CFStringRef text = nullptr;

    if (MIDIObjectGetStringProperty (device, kMIDIPropertyName, &text) != noErr || text == nullptr)
        return false;

    const auto length = CFStringGetLength (text);
    std::vector<char> buffer ((size_t) std::max<CFIndex> (length, 0) + 1, 0);
    const auto converted = CFStringGetCString (text, buffer.data(), (CFIndex) buffer.size(), kCFStringEncodingASCII);
    CFRelease (text);

    if (! converted)
        return false;

    name = buffer.data();
    return true;
}

bool isOnline (MIDIDeviceRef device)
{
    SInt32 offline = 1;
    return MIDIObjectGetIntegerProperty (device, kMIDIPropertyOffline, &offline) == noErr && offline == 0;
}

} // namespace

//==============================================================================
/** The platform side: the client, the device scan and the serial-number wait. */
class MidiManager::Pimpl : private AsyncUpdater,
                           private Timer
{
public:
    explicit Pimpl (MidiManager& ownerManager) : owner (ownerManager)
    {
        auto name = CFStringCreateWithCString (kCFAllocatorDefault, clientName, kCFStringEncodingASCII);

        if (MIDIClientCreate (name, MIDISetupChangeCallback, this, &client) != noErr)
            client = 0;

        if (name != nullptr)
            CFRelease (name);
    }

    ~Pimpl() override
    {
        // The pending devices' ports belong to the client: they go before it.
        pendingDevices.clear();

        if (client != 0)
            MIDIClientDispose (client);

        stopTimer();
        cancelPendingUpdate();
    }

    void scanSoon() { triggerAsyncUpdate(); }

    static void MIDISetupChangeCallback (const MIDINotification* message, void* context)
    {
        if (context != nullptr && message != nullptr && message->messageID == kMIDIMsgSetupChanged)
            static_cast<Pimpl*> (context)->scanSoon();
    }

    bool isPending (MIDIDeviceRef device) const
    {
        return std::any_of (pendingDevices.begin(), pendingDevices.end(),
                            [device] (auto& d) { return d->getDeviceRef() == device; });
    }

private:
    void handleAsyncUpdate() override
    {
        const auto found = findUnits();
        dropVanished (owner.connectionList, found, true);
        dropVanished (pendingDevices, found, false);
        openNewUnits (found);
    }

    std::vector<MIDIDeviceRef> findUnits() const
    {
        std::vector<MIDIDeviceRef> found;
        const auto count = MIDIGetNumberOfDevices();

        for (ItemCount i = 0; i < count; ++i)
        {
            const auto device = MIDIGetDevice (i);
            std::string name;

            if (! readAsciiName (device, name) || ! isOnline (device))
                continue;

            for (auto& wanted : owner.nameFilter)
                if (wanted == String (name))
                    found.push_back (device);
        }

        return found;
    }

    /** A device whose platform device is gone is destroyed; a listed one tells its holder and
        the list listeners first. Pending ones go too, so that no ghost is listed later. */
    void dropVanished (std::vector<std::unique_ptr<MidiDevice>>& devices, const std::vector<MIDIDeviceRef>& found, bool listed)
    {
        for (auto it = devices.begin(); it != devices.end();)
        {
            if (std::find (found.begin(), found.end(), (*it)->getDeviceRef()) != found.end())
            {
                ++it;
                continue;
            }

            if (listed)
            {
                releaseHolder (**it);
                owner.tellConnectionListListeners();
            }

            it = devices.erase (it);
        }
    }

    void openNewUnits (const std::vector<MIDIDeviceRef>& found)
    {
        for (auto device : found)
        {
            const auto known = isPending (device)
                            || std::any_of (owner.connectionList.begin(), owner.connectionList.end(),
                                            [device] (auto& d) { return d->getDeviceRef() == device; });

            if (known)
                continue;

            pendingDevices.push_back (std::make_unique<MidiDevice> (device, client));

            // Every pending unit gets at least the wait after the newest one was found.
            startTimer (serialWait);
        }
    }

    void timerCallback() override
    {
        stopTimer();

        if (pendingDevices.empty())
            return;

        listAnsweredDevices();
        dropOldestSilentDevice();

        if (! pendingDevices.empty())
            startTimer (serialWait);
    }

    void listAnsweredDevices()
    {
        for (auto it = pendingDevices.begin(); it != pendingDevices.end();)
        {
            if ((*it)->getSerialNumber() < 0)
            {
                ++it;
                continue;
            }

            auto& listed = owner.connectionList.emplace_back (std::move (*it));
            it = pendingDevices.erase (it);

            if (auto* holder = listed->getHolder())
                holder->hidConnectionCallback (true);

            owner.tellConnectionListListeners();
        }
    }

    void dropOldestSilentDevice()
    {
        // At most one, the oldest, per tick; read again now, so that a unit that has just
        // answered is listed at the next tick instead of being dropped.
        if (! pendingDevices.empty() && pendingDevices.front()->getSerialNumber() < 0)
            pendingDevices.erase (pendingDevices.begin());
    }

    MidiManager& owner;
    std::vector<std::unique_ptr<MidiDevice>> pendingDevices;
    const int serialWait = 500;
    MIDIClientRef client = 0;

    JUCE_DECLARE_NON_COPYABLE (Pimpl)
};

//==============================================================================
JUCE_IMPLEMENT_SINGLETON (MidiManager)

MidiManager::MidiManager() = default;

MidiManager::~MidiManager()
{
    for (auto& device : connectionList)
        releaseHolder (*device);

    connectionList.clear();
    pimpl.reset();

    clearSingletonInstance();
    cancelPendingUpdate();
}

void MidiManager::registerPluginInstance()
{
    pluginInstanceCount.fetch_add (1);
}

void MidiManager::unregisterPluginInstance()
{
    if (pluginInstanceCount.fetch_sub (1) == 1)
        deleteInstance();
}

void MidiManager::initialize (StringArray& names)
{
    pimpl.reset();
    nameFilter = names;
    pimpl = std::make_unique<Pimpl> (*this);
    pimpl->scanSoon();
    initialised = true;
}

bool MidiManager::connectIfOneDevice (MidiDevice::Listener* listener, int& serialNo)
{
    const auto isFree = [] (auto& d) { return d->getHolder() == nullptr; };

    if (std::count_if (connectionList.begin(), connectionList.end(), isFree) != 1)
        return false;

    auto& device = **std::find_if (connectionList.begin(), connectionList.end(), isFree);
    connect (device, listener);
    serialNo = device.getSerialNumber();
    tellConnectionListListeners();
    return true;
}

bool MidiManager::connectIfSerialNo (int serialNo, MidiDevice::Listener* listener)
{
    const auto it = std::find_if (connectionList.begin(), connectionList.end(), [serialNo] (auto& d)
    {
        return d->getSerialNumber() == serialNo && d->getHolder() == nullptr;
    });

    if (it == connectionList.end())
        return false;

    connect (**it, listener);
    tellConnectionListListeners();
    return true;
}

void MidiManager::connect (MidiDevice& device, MidiDevice::Listener* listener)
{
    device.setHolder (listener);

    if (listener != nullptr)
        listener->setConnectedMidiDevice (&device);
}

void MidiManager::disconnect (MidiDevice::Listener* listener)
{
    if (listener == nullptr)
        return;

    const auto it = std::find_if (connectionList.begin(), connectionList.end(),
                                  [listener] (auto& d) { return d->getHolder() == listener; });

    if (it == connectionList.end())
        return;

    releaseHolder (**it);
    tellConnectionListListeners();
}

void MidiManager::releaseHolder (MidiDevice& device)
{
    // Cleared first: setHolder returns once no receive call is still inside the old holder,
    // so the holder may delete what its receive path uses as soon as it is told.
    auto* holder = device.getHolder();

    if (holder == nullptr)
        return;

    device.setHolder (nullptr);
    holder->hidConnectionCallback (false);
}

static Array<MidiManager::ConnectionListListener*>& connectionListListeners()
{
    static Array<MidiManager::ConnectionListListener*> listeners;
    return listeners;
}

void MidiManager::addConnectionListListener (ConnectionListListener* listener)
{
    connectionListListeners().add (listener);
}

void MidiManager::removeConnectionListListener (ConnectionListListener* listener)
{
    connectionListListeners().removeAllInstancesOf (listener);
}

std::unique_ptr<OwnedArray<MidiManager::ConnectionStatus>> MidiManager::getConnectionList() const
{
    auto list = std::make_unique<OwnedArray<ConnectionStatus>>();

    for (auto& device : connectionList)
    {
        auto* entry = list->add (new ConnectionStatus());
        entry->serialNo = device->getSerialNumber();
        entry->owner = device->getHolder();
        entry->status = entry->owner != nullptr ? ConnectionStatus::inUse : ConnectionStatus::available;
    }

    return list;
}

void MidiManager::handleAsyncUpdate()
{
    auto& listeners = connectionListListeners();

    for (int i = 0; i < listeners.size(); ++i)
        listeners.getUnchecked (i)->connectionListChanged();
}

} // namespace juce
