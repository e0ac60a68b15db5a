#pragma once

#include <juce_core/juce_core.h>

namespace screenshots
{

/** What the checks of one picture found wrong; a picture with no findings passed. */
class Findings
{
public:
    void add (const juce::String& problem) { problems.add (problem); }

    void expect (bool holds, const juce::String& problemOtherwise)
    {
        if (! holds)
            add (problemOtherwise);
    }

    bool isEmpty() const noexcept { return problems.isEmpty(); }
    const juce::StringArray& list() const noexcept { return problems; }

private:
    juce::StringArray problems;
};

} // namespace screenshots
