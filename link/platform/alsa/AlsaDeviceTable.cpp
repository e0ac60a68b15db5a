#include "link/platform/alsa/AlsaDeviceTable.h"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace hv_alsa
{

bool AlsaDeviceTable::carriesMidiBothWays (unsigned int capabilities)
{
    constexpr unsigned int needed = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ
                                  | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
    return (capabilities & needed) == needed && (capabilities & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

std::optional<AlsaPortInfo> AlsaDeviceTable::entityPortOf (const AlsaClientInfo& client)
{
    for (const auto& port : client.ports)
        if (carriesMidiBothWays (port.capabilities))
            return port;

    return std::nullopt;
}

void AlsaDeviceTable::assignEntity (Device& device, const std::optional<AlsaPortInfo>& port)
{
    const AlsaAddress address { device.client, port ? port->port : -1 };

    if (device.entity != 0 && port && address == device.entityPort)
        return;

    device.entityPort = address;
    device.entity = port ? newRef() : 0;
    device.source = port ? newRef() : 0;
    device.destination = port ? newRef() : 0;
}

bool AlsaDeviceTable::update (const std::vector<AlsaClientInfo>& clients)
{
    auto changed = false;
    std::vector<Device> next;

    for (const auto& client : clients)
    {
        if (client.ports.empty())
            continue;

        auto known = std::find_if (devices.begin(), devices.end(), [&] (const Device& d) { return d.client == client.client; });
        Device device;

        if (known != devices.end())
        {
            device = *known;
        }
        else
        {
            device.device = newRef();
            device.client = client.client;
            changed = true;
        }

        const auto before = device;
        device.name = client.name;
        assignEntity (device, entityPortOf (client));
        changed = changed || device.name != before.name || device.entity != before.entity;
        next.push_back (device);
    }

    // Known devices keep their place; new ones follow in the sequencer's order.
    std::stable_sort (next.begin(), next.end(), [this] (const Device& a, const Device& b)
    {
        const auto place = [this] (const Device& d)
        {
            auto found = std::find_if (devices.begin(), devices.end(), [&] (const Device& k) { return k.device == d.device; });
            return found - devices.begin();
        };
        return place (a) < place (b);
    });

    changed = changed || next.size() != devices.size();
    devices = std::move (next);
    return changed;
}

bool AlsaDeviceTable::clientExited (int client)
{
    const auto before = devices.size();
    devices.erase (std::remove_if (devices.begin(), devices.end(), [client] (const Device& d) { return d.client == client; }),
                   devices.end());
    return devices.size() != before;
}

const AlsaDeviceTable::Device* AlsaDeviceTable::at (size_t index) const
{
    return index < devices.size() ? &devices[index] : nullptr;
}

namespace
{
template <typename Member>
const AlsaDeviceTable::Device* findBy (const std::vector<AlsaDeviceTable::Device>& devices, AlsaDeviceTable::Ref ref, Member member)
{
    if (ref == 0)
        return nullptr;

    auto found = std::find_if (devices.begin(), devices.end(), [&] (const AlsaDeviceTable::Device& d) { return d.*member == ref; });
    return found != devices.end() ? &*found : nullptr;
}
} // namespace

const AlsaDeviceTable::Device* AlsaDeviceTable::findDevice (Ref ref) const { return findBy (devices, ref, &Device::device); }
const AlsaDeviceTable::Device* AlsaDeviceTable::findEntity (Ref ref) const { return findBy (devices, ref, &Device::entity); }
const AlsaDeviceTable::Device* AlsaDeviceTable::findSource (Ref ref) const { return findBy (devices, ref, &Device::source); }
const AlsaDeviceTable::Device* AlsaDeviceTable::findDestination (Ref ref) const { return findBy (devices, ref, &Device::destination); }

} // namespace hv_alsa
