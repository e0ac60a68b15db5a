#include "support/midiworld/MidiWorld.h"

#if ! JUCE_MAC

using hv_midi_world::MidiWorld;

namespace
{
const HvPlatformString nameProperty { "name" };
const HvPlatformString offlineProperty { "offline" };
} // namespace

const CFStringRef kMIDIPropertyName = &nameProperty;
const CFStringRef kMIDIPropertyOffline = &offlineProperty;

CFStringRef CFStringCreateWithCString (CFAllocatorRef, const char* text, CFStringEncoding encoding)
{
    return MidiWorld::get().createString (text, encoding);
}

void CFRelease (CFTypeRef object)
{
    MidiWorld::get().release (object);
}

CFIndex CFStringGetLength (CFStringRef text)
{
    return MidiWorld::get().length (text);
}

Boolean CFStringGetCString (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    return MidiWorld::get().copyText (text, buffer, bufferSize, encoding) ? 1 : 0;
}

OSStatus MIDIClientCreate (CFStringRef name, MIDINotifyProc notifyProc, void* notifyRefCon, MIDIClientRef* outClient)
{
    return MidiWorld::get().createClient (name, notifyProc, notifyRefCon, outClient);
}

OSStatus MIDIClientDispose (MIDIClientRef client)
{
    return MidiWorld::get().disposeClient (client);
}

ItemCount MIDIGetNumberOfDevices()
{
    return MidiWorld::get().numberOfDevices();
}

MIDIDeviceRef MIDIGetDevice (ItemCount deviceIndex)
{
    return MidiWorld::get().deviceAt (deviceIndex);
}

OSStatus MIDIObjectGetStringProperty (MIDIObjectRef object, CFStringRef propertyID, CFStringRef* outString)
{
    return MidiWorld::get().stringProperty (object, propertyID, outString);
}

OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef object, CFStringRef propertyID, SInt32* outValue)
{
    return MidiWorld::get().integerProperty (object, propertyID, outValue);
}

OSStatus MIDIInputPortCreate (MIDIClientRef client, CFStringRef portName, MIDIReadProc readProc,
                              void* refCon, MIDIPortRef* outPort)
{
    return MidiWorld::get().createInputPort (client, portName, readProc, refCon, outPort);
}

OSStatus MIDIPortConnectSource (MIDIPortRef port, MIDIEndpointRef source, void* connRefCon)
{
    return MidiWorld::get().connectSource (port, source, connRefCon);
}

OSStatus MIDIPortDisconnectSource (MIDIPortRef port, MIDIEndpointRef source)
{
    return MidiWorld::get().disconnectSource (port, source);
}

OSStatus MIDIPortDispose (MIDIPortRef port)
{
    return MidiWorld::get().disposePort (port);
}

ItemCount MIDIDeviceGetNumberOfEntities (MIDIDeviceRef device)
{
    return MidiWorld::get().numberOfEntities (device);
}

MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef device, ItemCount entityIndex)
{
    return MidiWorld::get().entityAt (device, entityIndex);
}

ItemCount MIDIEntityGetNumberOfSources (MIDIEntityRef entity)
{
    return MidiWorld::get().numberOfSources (entity);
}

ItemCount MIDIEntityGetNumberOfDestinations (MIDIEntityRef entity)
{
    return MidiWorld::get().numberOfDestinations (entity);
}

MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef entity, ItemCount sourceIndex)
{
    return MidiWorld::get().sourceAt (entity, sourceIndex);
}

MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef entity, ItemCount destinationIndex)
{
    return MidiWorld::get().destinationAt (entity, destinationIndex);
}

OSStatus MIDISendSysex (MIDISysexSendRequest* request)
{
    return MidiWorld::get().send (request);
}

#endif
