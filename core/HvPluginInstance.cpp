#include "core/HvPluginInstance.h"

#include "core/HvDawParameter.h"
#include "core/MessageThreadTask.h"

namespace juce
{

HvPluginInstance::HvPluginInstance (std::unique_ptr<HvParamsManager> manager, const BusesProperties& buses)
    : AudioProcessor (buses), paramsManager (std::move (manager))
{
    // The host's parameter index is the id.
    for (int id = 0; id < paramsManager->getNumParams(); ++id)
        addParameter (paramsManager->getHostParameter (id));
}

HvPluginInstance::~HvPluginInstance()
{
    if (paramsManager != nullptr)
        MessageThreadTask::runTearDown ([manager = releaseParamsManager()]() mutable { manager.reset(); });
}

std::unique_ptr<HvParamsManager> HvPluginInstance::releaseParamsManager()
{
    // Before the processor base deletes the host parameters the manager points to.
    if (paramsManager != nullptr)
        paramsManager->detachHostParameters();

    return std::move (paramsManager);
}

} // namespace juce
