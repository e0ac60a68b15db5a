// The plug-in's MIDI backend off macOS: a MIDI server that lists no devices. Clients, ports and
// strings behave as the platform's do, so the product's MIDI code runs its ordinary paths and
// simply finds no unit. Nothing here starts a thread or calls back.

#include "link/platform/HvMidiPlatform.h"

#if ! JUCE_MAC

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

struct HvPlatformString
{
    std::string text;
};

namespace
{

constexpr OSStatus objectNotFoundError = -10842;
constexpr OSStatus badArgumentError = -50;

const HvPlatformString nameProperty { "name" };
const HvPlatformString offlineProperty { "offline" };

std::atomic<MIDIObjectRef> nextRef { 0x100 };

MIDIObjectRef newRef() { return nextRef.fetch_add (1); }

bool isAscii (const std::string& text)
{
    return std::all_of (text.begin(), text.end(), [] (char c) { return static_cast<unsigned char> (c) < 0x80; });
}

} // namespace

const CFStringRef kMIDIPropertyName = &nameProperty;
const CFStringRef kMIDIPropertyOffline = &offlineProperty;

CFStringRef CFStringCreateWithCString (CFAllocatorRef, const char* text, CFStringEncoding encoding)
{
    if (text == nullptr)
        return nullptr;

    std::string copy (text);

    if (encoding == kCFStringEncodingASCII && ! isAscii (copy))
        return nullptr;

    return new HvPlatformString { std::move (copy) };
}

void CFRelease (CFTypeRef object)
{
    // The only objects handed out are strings; the property names are never released.
    delete static_cast<const HvPlatformString*> (object);
}

CFIndex CFStringGetLength (CFStringRef text)
{
    // Only ASCII strings are made, so a character is a byte.
    return text != nullptr ? (CFIndex) text->text.size() : 0;
}

Boolean CFStringGetCString (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding)
{
    if (text == nullptr || buffer == nullptr || bufferSize <= (CFIndex) text->text.size())
        return 0;

    std::memcpy (buffer, text->text.c_str(), text->text.size() + 1);
    return 1;
}

OSStatus MIDIClientCreate (CFStringRef, MIDINotifyProc, void*, MIDIClientRef* outClient)
{
    if (outClient == nullptr)
        return badArgumentError;

    *outClient = newRef();
    return noErr;
}

OSStatus MIDIClientDispose (MIDIClientRef client)
{
    return client != 0 ? noErr : objectNotFoundError;
}

ItemCount MIDIGetNumberOfDevices() { return 0; }
MIDIDeviceRef MIDIGetDevice (ItemCount) { return 0; }

OSStatus MIDIObjectGetStringProperty (MIDIObjectRef, CFStringRef, CFStringRef*) { return objectNotFoundError; }
OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef, CFStringRef, SInt32*) { return objectNotFoundError; }

OSStatus MIDIInputPortCreate (MIDIClientRef client, CFStringRef, MIDIReadProc, void*, MIDIPortRef* outPort)
{
    if (client == 0)
        return objectNotFoundError;

    if (outPort == nullptr)
        return badArgumentError;

    *outPort = newRef();
    return noErr;
}

OSStatus MIDIPortConnectSource (MIDIPortRef, MIDIEndpointRef, void*) { return objectNotFoundError; }
OSStatus MIDIPortDisconnectSource (MIDIPortRef, MIDIEndpointRef) { return objectNotFoundError; }

OSStatus MIDIPortDispose (MIDIPortRef port)
{
    return port != 0 ? noErr : objectNotFoundError;
}

ItemCount MIDIDeviceGetNumberOfEntities (MIDIDeviceRef) { return 0; }
MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef, ItemCount) { return 0; }
ItemCount MIDIEntityGetNumberOfSources (MIDIEntityRef) { return 0; }
ItemCount MIDIEntityGetNumberOfDestinations (MIDIEntityRef) { return 0; }
MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef, ItemCount) { return 0; }
MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef, ItemCount) { return 0; }

OSStatus MIDISendSysex (MIDISysexSendRequest*)
{
    // There is no destination to send to; a failed send never completes.
    return objectNotFoundError;
}

#endif
