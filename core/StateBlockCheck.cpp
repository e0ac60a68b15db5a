#include "core/StateBlockCheck.h"

#include <cstring>
#include <limits>

namespace
{

// The type markers of the framework's binary form of a var.
enum VarMarker : juce::uint8
{
    markerInt = 1,
    markerBoolTrue = 2,
    markerBoolFalse = 3,
    markerDouble = 4,
    markerString = 5,
    markerInt64 = 6,
    markerArray = 7,
    markerBinary = 8,
    markerUndefined = 9
};

/** Follows the framework's value-tree stream format over the bytes without building
    anything. Every step either consumes bytes or fails, so the walk is linear in the
    block's size; the recursion is bounded by the depth limit. */
class TreeWalk
{
public:
    TreeWalk (const juce::uint8* bytes, size_t numBytes) : data (bytes), size (numBytes) {}

    bool rootHasType (const char* type)
    {
        rootNameBytes = std::strlen (type) + 1;
        if (rootNameBytes == 1 || size < rootNameBytes || std::memcmp (data, type, rootNameBytes) != 0)
            return false;

        return node (1);
    }

private:
    size_t remaining() const noexcept { return size - position; }

    bool countItem() noexcept { return ++items <= StateBlockCheck::maxItems; }

    bool readByte (juce::uint8& byte) noexcept
    {
        if (remaining() < 1)
            return false;

        byte = data[position++];
        return true;
    }

    bool skip (size_t numBytes) noexcept
    {
        if (remaining() < numBytes)
            return false;

        position += numBytes;
        return true;
    }

    /** The framework's compressed int: a size byte (low 7 bits the number of little-endian
        bytes, top bit the sign), then up to 4 bytes. A magnitude above the int range is
        refused: negating it overflows in the framework's reader. */
    bool compressedInt (int& value) noexcept
    {
        juce::uint8 sizeByte = 0;
        if (! readByte (sizeByte))
            return false;

        const auto numBytes = (size_t) (sizeByte & 0x7f);
        if (numBytes > 4 || remaining() < numBytes)
            return false;

        juce::uint32 magnitude = 0;
        for (size_t i = 0; i < numBytes; ++i)
            magnitude |= (juce::uint32) data[position + i] << (8 * i);

        position += numBytes;

        if (magnitude > (juce::uint32) std::numeric_limits<int>::max())
            return false;

        value = (sizeByte & 0x80) != 0 ? -(int) magnitude : (int) magnitude;
        return true;
    }

    bool count (int& value) noexcept
    {
        return compressedInt (value) && value >= 0;
    }

    static bool isText (const juce::uint8* text, size_t length) noexcept
    {
        return length <= (size_t) std::numeric_limits<int>::max()
            && juce::CharPointer_UTF8::isValidString (reinterpret_cast<const char*> (text), (int) length);
    }

    /** A zero-terminated, non-empty UTF-8 name (a type or a property name). */
    bool name()
    {
        const auto* start = data + position;
        const auto* terminator = static_cast<const juce::uint8*> (std::memchr (start, 0, remaining()));

        if (terminator == nullptr || terminator == start)
            return false;

        const auto length = (size_t) (terminator - start);
        if (! isText (start, length))
            return false;

        position += length + 1;
        return true;
    }

    bool node (int depth)
    {
        if (depth > StateBlockCheck::maxDepth || ! countItem())
            return false;

        // The root's type has been compared already; a child's must be a name.
        if (depth == 1 ? ! skip (rootNameBytes) : ! name())
            return false;

        int numProperties = 0;
        if (! count (numProperties) || numProperties > StateBlockCheck::maxPropertiesPerNode)
            return false;

        for (int i = 0; i < numProperties; ++i)
            if (! countItem() || ! name() || ! value (depth))
                return false;

        int numChildren = 0;
        if (! count (numChildren))
            return false;

        for (int i = 0; i < numChildren; ++i)
            if (! node (depth + 1))
                return false;

        return true;
    }

    /** One var as the framework writes it: a compressed length, then a marker and its
        payload. The framework reads fixed sizes for the fixed-size types whatever the
        length says, so the length must match. */
    bool value (int depth)
    {
        int numBytes = 0;
        if (! count (numBytes))
            return false;

        if (numBytes == 0)
            return true; // void

        juce::uint8 marker = 0;
        if (! readByte (marker))
            return false;

        const auto payload = (size_t) numBytes - 1;

        switch (marker)
        {
            case markerBoolTrue:
            case markerBoolFalse:
            case markerUndefined:
                return payload == 0;

            case markerInt:
                return payload == 4 && skip (4);

            case markerInt64:
            case markerDouble:
                return payload == 8 && skip (8);

            case markerString:
                return string (payload);

            case markerBinary:
                return skip (payload);

            case markerArray:
                return array (payload, depth + 1);

            default:
                return false;
        }
    }

    /** The UTF-8 bytes and their terminator, with no other zero byte among them. */
    bool string (size_t payload)
    {
        if (payload == 0 || remaining() < payload)
            return false;

        const auto* start = data + position;
        const auto textLength = payload - 1;

        if (start[textLength] != 0 || std::memchr (start, 0, textLength) != nullptr || ! isText (start, textLength))
            return false;

        position += payload;
        return true;
    }

    bool array (size_t payload, int depth)
    {
        if (depth > StateBlockCheck::maxDepth || remaining() < payload)
            return false;

        const auto end = position + payload;

        int numElements = 0;
        if (! count (numElements))
            return false;

        for (int i = 0; i < numElements; ++i)
            if (! countItem() || ! value (depth))
                return false;

        return position == end;
    }

    const juce::uint8* const data;
    const size_t size;
    size_t position = 0;
    size_t rootNameBytes = 0;
    int items = 0;
};

} // namespace

bool StateBlockCheck::isValueTreeOfType (const void* data, size_t numBytes, const char* rootType)
{
    if (data == nullptr || rootType == nullptr || numBytes > maxBlockBytes)
        return false;

    return TreeWalk (static_cast<const juce::uint8*> (data), numBytes).rootHasType (rootType);
}
