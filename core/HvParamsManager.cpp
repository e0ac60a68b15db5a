#include "core/HvParamsManager.h"

#include "core/HvDawParameter.h"

namespace juce
{

void HvParamsManager::AutomatableParamListener::paramValueChanged (AutomatableParamListener* source, int id, float value)
{
    if (source != this)
        paramValueChanged (id, value);
}

void HvParamsManager::AutomatableParamListener::paramValueChanged (int, float) {}

void HvParamsManager::AutomatableParamListener::paramGestureChanged (AutomatableParamListener* source, int id, bool starting)
{
    if (source != this)
        paramGestureChanged (id, starting);
}

void HvParamsManager::AutomatableParamListener::paramGestureChanged (int, bool) {}

//==============================================================================
HvParamsManager::AutomatableParameter::AutomatableParameter (HvParamsManager& owner, HvDawParameter* hostParam,
                                                             int paramId, float initialValue)
    : hostParameter (hostParam), manager (owner), id (paramId), value (initialValue)
{
    if (hostParameter != nullptr)
        listeners.add (hostParameter);
}

void HvParamsManager::AutomatableParameter::endParamGesture (AutomatableParamListener* source)
{
    // An unbalanced end would drive the count negative and silence every later gesture.
    if (gestureCount <= 0)
        return;

    if (--gestureCount != 0)
        return;

    for (int i = 0; i < listeners.size(); ++i)
        listeners.getUnchecked (i)->paramGestureChanged (source, id, false);
}

//==============================================================================
void HvParamsManager::setParamValue (AutomatableParamListener* source, int id, float value)
{
    auto* param = findParam (id);
    if (param == nullptr)
        return;

    param->value = value;

    // Re-read the list's length and the value for each listener: a listener may set this
    // parameter again, or add and remove listeners, from inside its callback.
    for (int i = 0; i < param->listeners.size(); ++i)
        param->listeners.getUnchecked (i)->paramValueChanged (source, id, param->value);
}

void HvParamsManager::beginParamGesture (AutomatableParamListener* source, int id)
{
    auto* param = findParam (id);
    if (param == nullptr)
        return;

    if (param->gestureCount++ != 0)
        return;

    for (int i = 0; i < param->listeners.size(); ++i)
        param->listeners.getUnchecked (i)->paramGestureChanged (source, id, true);
}

void HvParamsManager::endParamGesture (AutomatableParamListener* source, int id)
{
    if (auto* param = findParam (id))
        param->endParamGesture (source);
}

void HvParamsManager::setNonAutomatableParamValue (NonAutomatableParamListener* source, int id, var value)
{
    auto* setting = findNonAutomatableParam (id);
    if (setting == nullptr)
        return;

    setting->value = std::move (value);

    for (int i = 0; i < setting->listeners.size(); ++i)
    {
        auto* listener = setting->listeners.getUnchecked (i);
        if (listener != source)
            listener->nonAutomatableParamValueChanged (id, var (setting->value));
    }
}

void HvParamsManager::addParamListener (AutomatableParamListener* listener, int id, ListenerInitState state)
{
    auto* param = findParam (id);
    if (param == nullptr || listener == nullptr)
        return;

    param->listeners.addIfNotAlreadyThere (listener);

    if (state == notifyCurrentValue)
        listener->paramValueChanged (nullptr, id, param->value);
}

void HvParamsManager::removeParamListener (AutomatableParamListener* listener, int id)
{
    if (auto* param = findParam (id))
        param->listeners.removeAllInstancesOf (listener);
}

void HvParamsManager::addNonAutomatableParamListener (NonAutomatableParamListener* listener, int id, ListenerInitState state)
{
    auto* setting = findNonAutomatableParam (id);
    if (setting == nullptr || listener == nullptr)
        return;

    setting->listeners.addIfNotAlreadyThere (listener);

    if (state == notifyCurrentValue)
        listener->nonAutomatableParamValueChanged (id, var (setting->value));
}

void HvParamsManager::removeNonAutomatableParamListener (NonAutomatableParamListener* listener, int id)
{
    if (auto* setting = findNonAutomatableParam (id))
        setting->listeners.removeAllInstancesOf (listener);
}

float HvParamsManager::getParamValue (int id) const
{
    if (auto* param = findParam (id))
        return param->value;

    return 0.0f;
}

var HvParamsManager::getNonAutomatableParamValue (int id) const
{
    if (auto* setting = findNonAutomatableParam (id))
        return setting->value;

    return var (-1);
}

HvDawParameter* HvParamsManager::getHostParameter (int id) const
{
    if (auto* param = findParam (id))
        return param->hostParameter;

    return nullptr;
}

void HvParamsManager::addAutomatableParam (HvDawParameter& hostParameter)
{
    const auto id = automatableParams.size();
    const auto plainDefault = (float) hostParameter.getNormalisableRange().convertFrom0to1 (hostParameter.getDefaultValue());
    automatableParams.add (new AutomatableParameter (*this, &hostParameter, id, plainDefault));
}

void HvParamsManager::addNonAutomatableParam (var initialValue)
{
    nonAutomatableParams.add (new NonAutomatableParamData (std::move (initialValue)));
}

HvParamsManager::AutomatableParameter* HvParamsManager::findParam (int id) const
{
    return isPositiveAndBelow (id, automatableParams.size()) ? automatableParams.getUnchecked (id) : nullptr;
}

HvParamsManager::NonAutomatableParamData* HvParamsManager::findNonAutomatableParam (int id) const
{
    return isPositiveAndBelow (id, nonAutomatableParams.size()) ? nonAutomatableParams.getUnchecked (id) : nullptr;
}

} // namespace juce
