#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

/** A cheap, bounded walk over a block that claims to be a value tree, done before the
    framework's reader sees it.

    The framework's reader trusts the counts and lengths it reads: a huge property count
    keeps it looping for minutes, deep nesting overflows the stack, a huge child count or
    binary length allocates at once. This walk follows the same stream format without
    building anything and gives up at the first count, length or depth that the block
    cannot hold, so the reader is only run on what it will read exactly as checked.
*/
class StateBlockCheck
{
public:
    /** No state of this plug-in, in any of its forms, comes near this size. */
    static constexpr size_t maxBlockBytes = 1024 * 1024;

    /** Trees and the arrays inside their values, counted together; the state needs 3. */
    static constexpr int maxDepth = 8;

    /** Tree nodes, properties and array elements in one block; the state has 130. Each
        distinct name read goes into the framework's global string pool, whose insertion
        grows with its size, so the total is bounded and not only the size of the block. */
    static constexpr int maxItems = 4096;

    /** Properties of one node; each state node has at most 3. */
    static constexpr int maxPropertiesPerNode = 64;

    /** True when the block starts with one value tree whose root has the given type,
        written as the framework writes value trees, within the bounds above. Bytes after
        the tree are allowed, as the framework's reader ignores them. */
    static bool isValueTreeOfType (const void* data, size_t numBytes, const char* rootType);
};
