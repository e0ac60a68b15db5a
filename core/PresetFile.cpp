#include "core/PresetFile.h"

#include "core/StateBlockCheck.h"

#if ! JUCE_WINDOWS
 #include <cerrno>
 #include <fcntl.h>
 #include <sys/stat.h>
 #include <unistd.h>
#endif

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

#if JUCE_WINDOWS

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

#else

std::optional<juce::MemoryBlock> PresetFile::read (const juce::File& file)
{
    if (file.getFullPathName().isEmpty())
        return {};

    // Opened without waiting and checked on the open file itself: opening a FIFO for reading
    // would otherwise wait for a writer, and the name may change what it names between a
    // check and the open.
    const auto fd = ::open (file.getFullPathName().toRawUTF8(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};

    const auto closeOnReturn = juce::ScopeGuard { [fd] { ::close (fd); } };

    struct stat info {};
    if (::fstat (fd, &info) != 0 || ! S_ISREG (info.st_mode))
        return {};

    if (info.st_size < 0 || (juce::uint64) info.st_size > StateBlockCheck::maxBlockBytes)
        return {};

    const auto size = (size_t) info.st_size;
    juce::MemoryBlock block (size);
    size_t done = 0;

    while (done < size)
    {
        const auto n = ::read (fd, static_cast<char*> (block.getData()) + done, size - done);

        if (n < 0 && errno == EINTR)
            continue;

        if (n <= 0)
            return {};

        done += (size_t) n;
    }

    return block;
}

#endif
