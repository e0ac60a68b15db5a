#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hv_alsa
{

/** A sequencer address: client and port. */
struct AlsaAddress
{
    int client = -1;
    int port = -1;

    bool operator== (const AlsaAddress& other) const { return client == other.client && port == other.port; }
    bool operator!= (const AlsaAddress& other) const { return ! (*this == other); }
    bool operator< (const AlsaAddress& other) const
    {
        return client != other.client ? client < other.client : port < other.port;
    }
};

/** A port as the sequencer lists it. */
struct AlsaPortInfo
{
    int port = 0;
    unsigned int capabilities = 0; // the sequencer's SND_SEQ_PORT_CAP_* bits
    std::string name;
};

/** A client as the sequencer lists it, with its ports in the sequencer's order. */
struct AlsaClientInfo
{
    int client = 0;
    std::string name; // as the client set it, byte for byte
    std::vector<AlsaPortInfo> ports;
};

/** The devices the MIDI layer lists, kept from what the sequencer reports: one per client
    (other than the system client and our own, which are left out before the update), its
    entity the first port that carries MIDI both ways with subscriptions allowed.

    References are handed out once and never reused: a client that leaves and comes back
    (a unit unplugged and plugged in again gets the same client number) is a new device
    with new references, and so is an entity whose port changes. A client that has no port
    yet is not listed: a device is opened once, when it is first found, and a client
    without ports has nothing to open. Not thread-safe: its owner locks. */
class AlsaDeviceTable
{
public:
    using Ref = uint32_t;

    struct Device
    {
        Ref device = 0;
        Ref entity = 0;      // 0 when no port carries MIDI both ways
        Ref source = 0;      // the entity's port, read side
        Ref destination = 0; // the entity's port, write side
        int client = -1;
        AlsaAddress entityPort;
        std::string name;
    };

    /** Capabilities a port needs to be the entity. */
    static bool carriesMidiBothWays (unsigned int capabilities);

    /** Replaces what is known by the sequencer's current list. Clients that are listed
        again keep their references, with their names and ports read anew. True when
        anything the product can see changed. */
    bool update (const std::vector<AlsaClientInfo>& clients);

    /** The sequencer announced that the client left: it is forgotten at once, so that a
        client with the same number found later is a new device. */
    bool clientExited (int client);

    void clear() { devices.clear(); }

    size_t size() const { return devices.size(); }
    const Device* at (size_t index) const;
    const Device* findDevice (Ref ref) const;
    const Device* findEntity (Ref ref) const;
    const Device* findSource (Ref ref) const;
    const Device* findDestination (Ref ref) const;

    /** Hands out references for the table's objects and for others (clients and ports of
        this process), from one counter, so that no two objects ever share one. */
    Ref newRef() { return nextRef++; }

private:
    static std::optional<AlsaPortInfo> entityPortOf (const AlsaClientInfo& client);
    void assignEntity (Device& device, const std::optional<AlsaPortInfo>& port);

    std::vector<Device> devices; // in the order they were found
    Ref nextRef = 0x100;
};

} // namespace hv_alsa
