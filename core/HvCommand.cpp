#include "core/HvCommand.h"

namespace juce
{

HvCommand::HvCommand (const Identifier& commandId) : id (commandId)
{
}

HvCommand::~HvCommand() = default;

} // namespace juce
