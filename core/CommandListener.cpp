#include "core/CommandListener.h"

namespace juce
{

CommandListener::~CommandListener() = default;

} // namespace juce
