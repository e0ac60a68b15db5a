#include "core/HvPluginInstance.h"

#include "core/HvDawParameter.h"

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
    // The manager goes before the processor base deletes the host parameters it points to.
    paramsManager.reset();
}

} // namespace juce
