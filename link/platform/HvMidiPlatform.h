#pragma once

// The only MIDI header the product includes. On macOS it is the system's MIDI and string
// frameworks. Elsewhere it declares functions, types and constants of the same shape, so the
// product's MIDI code is written once; a backend linked with the program serves them. The
// plug-ins' backend on Linux (alsa/) runs on the ALSA sequencer, the one elsewhere (nodevices/)
// lists no devices; the tests link the in-process MIDI world of their support code instead.

#include <juce_core/juce_core.h>

#if JUCE_MAC

 #include <CoreFoundation/CoreFoundation.h>
 #include <CoreMIDI/CoreMIDI.h>

#else

#include <cstddef>
#include <cstdint>

//==============================================================================
// Scalar types

typedef int32_t OSStatus;
typedef uint8_t Byte;
typedef unsigned char Boolean;
typedef uint16_t UInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef unsigned long ItemCount;
typedef long CFIndex;

enum : OSStatus
{
    noErr = 0
};

//==============================================================================
// Strings

/** Opaque string object; the world knows its contents. */
struct HvPlatformString;

typedef const void* CFTypeRef;
typedef const HvPlatformString* CFStringRef;
typedef const struct HvPlatformAllocator* CFAllocatorRef;
typedef UInt32 CFStringEncoding;

enum : CFStringEncoding
{
    kCFStringEncodingASCII = 0x0600
};

constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

/** A new string the caller owns and releases with CFRelease; null when the text does not
    convert with the encoding. */
CFStringRef CFStringCreateWithCString (CFAllocatorRef allocator, const char* text, CFStringEncoding encoding);

/** Releases a string that was handed to the caller. */
void CFRelease (CFTypeRef object);

/** The length in UTF-16 code units. */
CFIndex CFStringGetLength (CFStringRef text);

/** Copies the text, null-terminated, into the buffer; false when it does not fit or does not
    convert with the encoding. */
Boolean CFStringGetCString (CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);

//==============================================================================
// MIDI objects

typedef UInt32 MIDIObjectRef;
typedef MIDIObjectRef MIDIClientRef;
typedef MIDIObjectRef MIDIPortRef;
typedef MIDIObjectRef MIDIDeviceRef;
typedef MIDIObjectRef MIDIEntityRef;
typedef MIDIObjectRef MIDIEndpointRef;
typedef UInt64 MIDITimeStamp;

extern const CFStringRef kMIDIPropertyName;
extern const CFStringRef kMIDIPropertyOffline;

//==============================================================================
// Packets: each packet's data is followed directly by the next packet.

#pragma pack(push, 1)

struct MIDIPacket
{
    MIDITimeStamp timeStamp;
    UInt16 length;
    Byte data[256];
};

struct MIDIPacketList
{
    UInt32 numPackets;
    MIDIPacket packet[1];
};

#pragma pack(pop)

inline MIDIPacket* MIDIPacketNext (const MIDIPacket* packet)
{
    // Pointer arithmetic rather than indexing: a packet may be longer than the declared array.
    auto* end = reinterpret_cast<const Byte*> (packet) + offsetof (MIDIPacket, data) + packet->length;
    return reinterpret_cast<MIDIPacket*> (const_cast<Byte*> (end));
}

//==============================================================================
// Notifications

typedef SInt32 MIDINotificationMessageID;

enum : MIDINotificationMessageID
{
    kMIDIMsgSetupChanged = 1,
    kMIDIMsgObjectAdded = 2,
    kMIDIMsgObjectRemoved = 3
};

struct MIDINotification
{
    MIDINotificationMessageID messageID;
    UInt32 messageSize;
};

typedef void (*MIDINotifyProc) (const MIDINotification* message, void* refCon);
typedef void (*MIDIReadProc) (const MIDIPacketList* packets, void* readProcRefCon, void* srcConnRefCon);

//==============================================================================
// System-exclusive sending

struct MIDISysexSendRequest;
typedef void (*MIDICompletionProc) (MIDISysexSendRequest* request);

/** Must stay alive, with its data, until the completion procedure is called with it. */
struct MIDISysexSendRequest
{
    MIDIEndpointRef destination;
    const Byte* data;
    UInt32 bytesToSend;
    Boolean complete;
    Byte reserved[3];
    MIDICompletionProc completionProc;
    void* completionRefCon;
};

//==============================================================================
// Calls; 0 (noErr) means success.

OSStatus MIDIClientCreate (CFStringRef name, MIDINotifyProc notifyProc, void* notifyRefCon, MIDIClientRef* outClient);
OSStatus MIDIClientDispose (MIDIClientRef client);

ItemCount MIDIGetNumberOfDevices();
MIDIDeviceRef MIDIGetDevice (ItemCount deviceIndex);

/** On success the string belongs to the caller, who releases it with CFRelease. */
OSStatus MIDIObjectGetStringProperty (MIDIObjectRef object, CFStringRef propertyID, CFStringRef* outString);
OSStatus MIDIObjectGetIntegerProperty (MIDIObjectRef object, CFStringRef propertyID, SInt32* outValue);

OSStatus MIDIInputPortCreate (MIDIClientRef client, CFStringRef portName, MIDIReadProc readProc,
                              void* refCon, MIDIPortRef* outPort);
OSStatus MIDIPortConnectSource (MIDIPortRef port, MIDIEndpointRef source, void* connRefCon);
OSStatus MIDIPortDisconnectSource (MIDIPortRef port, MIDIEndpointRef source);
OSStatus MIDIPortDispose (MIDIPortRef port);

ItemCount MIDIDeviceGetNumberOfEntities (MIDIDeviceRef device);
MIDIEntityRef MIDIDeviceGetEntity (MIDIDeviceRef device, ItemCount entityIndex);
ItemCount MIDIEntityGetNumberOfSources (MIDIEntityRef entity);
ItemCount MIDIEntityGetNumberOfDestinations (MIDIEntityRef entity);
MIDIEndpointRef MIDIEntityGetSource (MIDIEntityRef entity, ItemCount sourceIndex);
MIDIEndpointRef MIDIEntityGetDestination (MIDIEntityRef entity, ItemCount destinationIndex);

/** On success the bytes leave later and the completion procedure is then called once;
    on failure nothing leaves and it is never called. */
OSStatus MIDISendSysex (MIDISysexSendRequest* request);

#endif
