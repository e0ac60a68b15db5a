#include "core/PresetFile.h"

#include "core/StateBlockCheck.h"

juce::File PresetFile::withPresetExtension (const juce::File& chosen)
{
    return chosen.getSiblingFile (chosen.getFileNameWithoutExtension() + extension);
}

bool PresetFile::write (const juce::File& target, const juce::MemoryBlock& block)
{
    if (target == juce::File() || target.isDirectory())
        return false;

    const juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || (block.getSize() > 0 && ! out.write (block.getData(), block.getSize())))
            return false;

        // Waits until the bytes are on the disk, so that a full disk shows here.
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    if (temporary.getFile().getSize() != (juce::int64) block.getSize())
        return false;

    return temporary.overwriteTargetFileWithTemporary();
}

std::optional<juce::MemoryBlock> PresetFile::read (const juce::File& file)
{
    if (! file.existsAsFile())
        return {};

    const auto size = file.getSize();
    if (size < 0 || (juce::uint64) size > StateBlockCheck::maxBlockBytes)
        return {};

    juce::FileInputStream in (file);
    if (! in.openedOk())
        return {};

    juce::MemoryBlock block ((size_t) size);

    if (size > 0 && in.read (block.getData(), (int) size) != (int) size)
        return {};

    return block;
}
