// The plug-in's MIDI backend on Linux: the platform's MIDI calls over the ALSA sequencer.

#include "link/platform/HvMidiPlatform.h"

#if ! JUCE_MAC

#include "link/platform/alsa/AlsaMidiServer.h"
#include "link/platform/alsa/AlsaStrings.h"

#include <string>

using hv_alsa::AlsaMidiServer;
using hv_alsa::AlsaStrings;

struct HvPlatformString
{
    std::string text; // UTF-8
};

namespace
{

enum : OSStatus
{
    objectNotFoundError = -10842,
    unknownPropertyError = -10835,
    badArgumentError = -50
};

const HvPlatformString nameProperty { "name" };
const HvPlatformString offlineProperty { "offline" };

std::string textOf (CFStringRef text)
{
    return text != nullptr ? text->text : std::string();
}

} // namespace

const CFStringRef kMIDIPropertyName = &nameProperty;
const CFStringRef kMIDIPropertyOffline = &offlineProperty;

//==============================================================================
// Strings

CFStringRef CFStringCreateWithCString (CFAllocatorRef, const char* text, CFStringEncoding encoding)
{
    if (text == nullptr || (encoding == kCFStringEncodingASCII && ! AlsaStrings::isAscii (text)))
        return nullptr;

    return new HvPlatformString { text };
}

void CFRelease (CFTypeRef object)
{
    // The only objects handed out are strings; the property names are never released.
    if (object != kMIDIPropertyName && object != kMIDIPropertyOffline)
        delete static_cast<const HvPlatformString*> (object);
}

CFIndex CFStringGetLength (CFStringRef text)
{
    return text != nullptr ? (CFIndex) AlsaStrings::utf16Length (text->text) : 0;
}

Boolean CFStringGetCString (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    if (text == nullptr || encoding != kCFStringEncodingASCII)
        return 0;

    return AlsaStrings::copyAscii (text->text, buffer, (long) bufferSize) ? 1 : 0;
}

//==============================================================================
// Clients and ports

OSStatus MIDIClientCreate (CFStringRef name, MIDINotifyProc notifyProc, void* notifyRefCon, MIDIClientRef* outClient)
{
    return AlsaMidiServer::get().createClient (textOf (name), notifyProc, notifyRefCon, outClient);
}

OSStatus MIDIClientDispose (MIDIClientRef client)
{
    return AlsaMidiServer::get().disposeClient (client);
}

OSStatus MIDIInputPortCreate (MIDIClientRef client, CFStringRef portName, MIDIReadProc readProc, void* refCon, MIDIPortRef* outPort)
{
    return AlsaMidiServer::get().createInputPort (client, textOf (portName), readProc, refCon, outPort);
}

OSStatus MIDIPortConnectSource (MIDIPortRef port, MIDIEndpointRef source, void* connRefCon)
{
    return AlsaMidiServer::get().connectSource (port, source, connRefCon);
}

OSStatus MIDIPortDisconnectSource (MIDIPortRef port, MIDIEndpointRef source)
{
    return AlsaMidiServer::get().disconnectSource (port, source);
}

OSStatus MIDIPortDispose (MIDIPortRef port)
{
    return AlsaMidiServer::get().disposePort (port);
}

//==============================================================================
// Devices, entities and endpoints

ItemCount MIDIGetNumberOfDevices()
{
    return AlsaMidiServer::get().numberOfDevices();
}

MIDIDeviceRef MIDIGetDevice (ItemCount deviceIndex)
{
    return AlsaMidiServer::get().deviceAt (deviceIndex);
}

OSStatus MIDIObjectGetStringProperty (MIDIObjectRef object, CFStringRef propertyID, CFStringRef* outString)
{
    if (outString == nullptr)
        return badArgumentError;

    std::string name;

    if (! AlsaMidiServer::get().deviceName (object, name))
        return objectNotFoundError;

    if (propertyID != kMIDIPropertyName)
        return unknownPropertyError;

    // The caller owns it and releases it with CFRelease.
    *outString = new HvPlatformString { std::move (name) };
    return noErr;
}

OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef object, CFStringRef propertyID, SInt32* outValue)
{
    if (outValue == nullptr)
        return badArgumentError;

    if (! AlsaMidiServer::get().isListedDevice (object))
        return objectNotFoundError;

    if (propertyID != kMIDIPropertyOffline)
        return unknownPropertyError;

    // A device is listed while its client exists, and online while listed.
    *outValue = 0;
    return noErr;
}

ItemCount MIDIDeviceGetNumberOfEntities (MIDIDeviceRef device)
{
    return AlsaMidiServer::get().numberOfEntities (device);
}

MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef device, ItemCount entityIndex)
{
    return AlsaMidiServer::get().entityAt (device, entityIndex);
}

ItemCount MIDIEntityGetNumberOfSources (MIDIEntityRef entity)
{
    return AlsaMidiServer::get().numberOfEndpoints (entity);
}

ItemCount MIDIEntityGetNumberOfDestinations (MIDIEntityRef entity)
{
    return AlsaMidiServer::get().numberOfEndpoints (entity);
}

MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef entity, ItemCount sourceIndex)
{
    return AlsaMidiServer::get().sourceAt (entity, sourceIndex);
}

MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef entity, ItemCount destinationIndex)
{
    return AlsaMidiServer::get().destinationAt (entity, destinationIndex);
}

//==============================================================================
// Sending

OSStatus MIDISendSysex (MIDISysexSendRequest* request)
{
    return AlsaMidiServer::get().send (request);
}

#endif
