#pragma once

#include <juce_core/juce_core.h>

namespace testing_support
{

/** An empty folder of its own for one test, deleted with everything in it afterwards. */
class ScratchFolder
{
public:
    ScratchFolder()
        : folder (juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("eq713k-test", {}, false))
    {
        folder.createDirectory();
    }

    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }

    const juce::File folder;
};

} // namespace testing_support
