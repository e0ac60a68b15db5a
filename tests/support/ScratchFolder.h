#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{

/** An empty folder of its own for one test, deleted with everything in it afterwards. */
class ScratchFolder
{
public:
    // A unique name, not the first free one: test processes run side by side, and two of them
    // could otherwise take the same free name and delete each other's files.
    ScratchFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("eq713k-test-" + juce::Uuid().toString()))
    {
        folder.createDirectory();
    }

    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    const juce::File folder;
};

} // namespace testing_support
