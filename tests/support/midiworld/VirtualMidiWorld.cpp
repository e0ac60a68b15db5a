#include "support/midiworld/MidiWorld.h"

#if ! JUCE_MAC

using hv_midi_world::MidiWorld;

bool VirtualMidiWorld::Census::operator== (const Census& other) const
{
    return clients == other.clients && ports == other.ports && connections == other.connections
        && strings == other.strings && sendsInFlight == other.sendsInFlight;
}

std::string VirtualMidiWorld::Census::describe() const
{
    return "clients " + std::to_string (clients) + ", ports " + std::to_string (ports)
         + ", connections " + std::to_string (connections) + ", strings " + std::to_string (strings)
         + ", sends in flight " + std::to_string (sendsInFlight);
}

VirtualMidiWorld::PluggedDevice VirtualMidiWorld::plugIn (const DeviceDescription& description, Receiver receiver)
{
    return MidiWorld::get().plugIn (description, std::move (receiver));
}

void VirtualMidiWorld::unplug (MIDIDeviceRef device) { MidiWorld::get().unplug (device); }
void VirtualMidiWorld::setOffline (MIDIDeviceRef device, bool offline) { MidiWorld::get().setOffline (device, offline); }
void VirtualMidiWorld::postSetupChange (MIDINotificationMessageID messageId) { MidiWorld::get().postSetupChange (messageId); }

void VirtualMidiWorld::emit (MIDIEndpointRef source, const PacketList& packets, int delayMs)
{
    MidiWorld::get().emit (source, packets, delayMs);
}

void VirtualMidiWorld::failNext (Call call, int count) { MidiWorld::get().failNext (call, count); }
bool VirtualMidiWorld::waitUntilIdle (int timeoutMs) { return MidiWorld::get().waitUntilIdle (timeoutMs); }
bool VirtualMidiWorld::isDeliveryThread() { return MidiWorld::get().isDeliveryThread(); }
VirtualMidiWorld::Census VirtualMidiWorld::census() { return MidiWorld::get().census(); }
int VirtualMidiWorld::breaches (Breach kind) { return MidiWorld::get().breaches (kind); }
int VirtualMidiWorld::totalBreaches() { return MidiWorld::get().totalBreaches(); }
void VirtualMidiWorld::reset() { MidiWorld::get().reset(); }

#endif
