#pragma once

namespace juce
{

class HvCommand;

/** Is offered the commands of a CommandManager it is registered with. */
class CommandListener
{
public:
    virtual ~CommandListener();

    /** Returns true when the command was handled, so nobody else is asked. The command stays
        owned by the manager and is deleted after the call: do not keep the pointer. */
    virtual bool commandListenerCallback (HvCommand* command) = 0;
};

} // namespace juce
