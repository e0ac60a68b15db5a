#include "core/PresetFile.h"
#include "core/StateBlockCheck.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::ScratchFolder;

namespace
{

juce::MemoryBlock bytes (size_t size, char fill)
{
    juce::MemoryBlock block (size);
    block.fillWith ((juce::uint8) fill);
    return block;
}

/** Hidden files too: the temporary file of a write is hidden. */
juce::StringArray namesIn (const juce::File& folder)
{
    juce::StringArray names;
    for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFilesAndDirectories))
        names.add (entry.getFile().getFileName());
    names.sort (false);
    return names;
}

TEST (PresetFileTest, SavedNamesGetThePresetExtension)
{
    const ScratchFolder scratch;

    const struct { const char* chosen; const char* saved; } cases[] = {
        { "a", "a.hvrp" },
        { "a.hvrp", "a.hvrp" },
        { "a.hvrb", "a.hvrp" },
        { "a.txt", "a.hvrp" },
        { "a.b.hvrb", "a.b.hvrp" },
        { "a.", "a.hvrp" },
        { "in.folder/a", "in.folder/a.hvrp" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (PresetFile::withPresetExtension (scratch.file (c.chosen)), scratch.file (c.saved)) << c.chosen;
}

TEST (PresetFileTest, AWrittenFileReadsBackWholeAndReplacesAllOfTheOldOne)
{
    const ScratchFolder scratch;
    const auto target = scratch.file ("p.hvrp");
    ASSERT_TRUE (target.replaceWithData (bytes (3000, 'o').getData(), 3000));

    const auto block = bytes (100, 's');
    ASSERT_TRUE (PresetFile::write (target, block));

    const auto read = PresetFile::read (target);
    ASSERT_TRUE (read.has_value());
    EXPECT_EQ (*read, block);
    EXPECT_EQ (namesIn (scratch.folder), juce::StringArray ("p.hvrp")) << "nothing left beside it";
}

TEST (PresetFileTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    const ScratchFolder scratch;

    // The longest name a file can have: the temporary file beside it cannot be made.
    const auto longest = scratch.file (juce::String::repeatedString ("p", 250) + PresetFile::extension);
    ASSERT_TRUE (longest.create() && longest.appendText ("old"));
    scratch.file ("folder.hvrp").createDirectory();

    for (const auto& target : { longest, scratch.file ("folder.hvrp"), scratch.file ("missing/p.hvrp") })
        EXPECT_FALSE (PresetFile::write (target, bytes (100, 's'))) << target.getFileName();

    EXPECT_EQ (longest.loadFileAsString(), "old");
    EXPECT_EQ (namesIn (scratch.folder), juce::StringArray ("folder.hvrp", longest.getFileName()));
}

TEST (PresetFileTest, ReadingRefusesWhatCannotBeAState)
{
    const ScratchFolder scratch;

    const auto largest = scratch.file ("largest.hvrp");
    const auto tooLarge = scratch.file ("tooLarge.hvrp");
    const auto empty = scratch.file ("empty.hvrp");
    ASSERT_TRUE (largest.replaceWithData (bytes (StateBlockCheck::maxBlockBytes, 'x').getData(), StateBlockCheck::maxBlockBytes));
    ASSERT_TRUE (tooLarge.replaceWithData (bytes (StateBlockCheck::maxBlockBytes + 1, 'x').getData(), StateBlockCheck::maxBlockBytes + 1));
    ASSERT_TRUE (empty.create());

    EXPECT_FALSE (PresetFile::read (tooLarge).has_value());
    EXPECT_FALSE (PresetFile::read (scratch.file ("missing.hvrp")).has_value());
    EXPECT_FALSE (PresetFile::read (scratch.folder).has_value());
    EXPECT_FALSE (PresetFile::read (juce::File()).has_value());

    ASSERT_TRUE (PresetFile::read (largest).has_value());
    EXPECT_EQ (PresetFile::read (largest)->getSize(), StateBlockCheck::maxBlockBytes);
    ASSERT_TRUE (PresetFile::read (empty).has_value());
    EXPECT_EQ (PresetFile::read (empty)->getSize(), 0u);
}

TEST (PresetFileTest, AFifoIsRefusedAsAnUnreadableFileIsWithoutWaitingForAWriter)
{
    const ScratchFolder scratch;
    const auto fifo = scratch.file ("pipe.hvrp");
    const auto path = fifo.getFullPathName().toStdString();
    ASSERT_EQ (::mkfifo (path.c_str(), 0600), 0);
    ASSERT_TRUE (fifo.existsAsFile()) << "it passes the framework's file check";

    auto reading = std::async (std::launch::async, [fifo] { return PresetFile::read (fifo); });
    const auto finished = reading.wait_for (std::chrono::seconds (5)) == std::future_status::ready;

    if (! finished)
    {
        // A reader waiting for a writer gets one, and then the end of the data.
        const auto writer = ::open (path.c_str(), O_WRONLY);
        ::close (writer);
    }

    EXPECT_TRUE (finished) << "the reader waited for a writer";
    EXPECT_FALSE (reading.get().has_value());
}

} // namespace
