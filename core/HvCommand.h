#pragma once

#include <juce_core/juce_core.h>

namespace juce
{

/** A request posted to a CommandManager; commands are told apart by their id. */
class HvCommand
{
public:
    explicit HvCommand (const Identifier& commandId);
    virtual ~HvCommand();

    const Identifier id;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (HvCommand)
};

} // namespace juce
