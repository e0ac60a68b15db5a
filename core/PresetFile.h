#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** A preset file holds exactly one state block. These read and write one given file and
    never open a dialog.
*/
class PresetFile
{
public:
    /** The extension presets are saved with. */
    static constexpr const char* extension = ".hvrp";

    /** The patterns the load dialog offers; ".hvrb" files hold the same bytes. */
    static constexpr const char* loadPatterns = "*.hvrp; *.hvrb";

    /** The chosen file with its extension, from its last '.' on, replaced by ".hvrp" (or
        ".hvrp" appended when it has none), in the same folder. */
    static juce::File withPresetExtension (const juce::File& chosen);

    /** Writes the block beside the target, checks what was written, and only then puts it
        in the target's place, so a failed write leaves an existing file as it was. */
    static bool write (const juce::File& target, const juce::MemoryBlock& block);

    /** The whole file, or nothing when it is missing, is not a regular file (a folder, a
        FIFO, a device: refused without waiting on it), is larger than any state can be, or
        cannot be read completely. */
    static std::optional<juce::MemoryBlock> read (const juce::File& file);
};
