#include "core/HvParamsManager.h"

#include "core/HvDawParameter.h"

#include <cstring>

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
void HvParamsManager::PublishedSetting::publish (const var& value) noexcept
{
    if (value.isBool())
    {
        bits.store ((bool) value ? 1 : 0);
        kind.store (boolKind);
    }
    else if (value.isInt())
    {
        bits.store ((int) value);
        kind.store (intKind);
    }
    else if (value.isInt64())
    {
        bits.store ((int64) value);
        kind.store (int64Kind);
    }
    else if (value.isDouble())
    {
        const auto number = (double) value;
        int64 raw = 0;
        std::memcpy (&raw, &number, sizeof (raw));
        bits.store (raw);
        kind.store (doubleKind);
    }
    else
    {
        kind.store (voidKind);
    }
}

var HvParamsManager::PublishedSetting::read() const
{
    const auto raw = bits.load();

    switch (kind.load())
    {
        case boolKind:  return raw != 0;
        case intKind:   return (int) raw;
        case int64Kind: return raw;
        case doubleKind:
        {
            double number = 0.0;
            std::memcpy (&number, &raw, sizeof (number));
            return number;
        }
        default:        return {};
    }
}

//==============================================================================
HvParamsManager::AutomatableParameter::AutomatableParameter (HvParamsManager& owner, HvDawParameter* hostParam,
                                                             int paramId, float initialValue)
    : hostParameter (hostParam), hostListener (hostParam), manager (owner), id (paramId), value (initialValue)
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

    manager.tellEach (*this, [&] (auto& l) { l.paramGestureChanged (source, id, false); });
}

HvParamsManager::NonAutomatableParamData::NonAutomatableParamData (var initialValue)
    : value (std::move (initialValue))
{
    published.publish (value);
}

//==============================================================================
HvParamsManager::~HvParamsManager()
{
    cancelPendingUpdate();
}

template <typename Call>
void HvParamsManager::tell (const AutomatableParameter& param, AutomatableParamListener& listener, Call&& call)
{
    if (&listener != param.hostListener)
    {
        call (listener);
        return;
    }

    if (const auto entry = hostObjects.enter())
        call (listener);
}

template <typename Call>
void HvParamsManager::tellEach (AutomatableParameter& param, Call&& call)
{
    param.listeners.callEach ([&] (auto& listener) { tell (param, listener, call); });
}

void HvParamsManager::setParamValue (AutomatableParamListener* source, int id, float value)
{
    auto* param = findParam (id);
    if (param == nullptr)
        return;

    {
        const WriteSequence::ScopedWrite write (writeSequence);
        param->value.store (value);
    }

    // Re-read the value for each listener: a listener may set this parameter again from
    // inside its callback, and the later ones are told the newer value.
    tellEach (*param, [&] (auto& l) { l.paramValueChanged (source, id, param->value.load()); });
}

void HvParamsManager::notifyStoredValue (AutomatableParamListener* source, int id)
{
    auto* param = findParam (id);
    if (param == nullptr)
        return;

    tellEach (*param, [&] (auto& l) { l.paramValueChanged (source, id, param->value.load()); });
}

void HvParamsManager::beginParamGesture (AutomatableParamListener* source, int id)
{
    auto* param = findParam (id);
    if (param == nullptr)
        return;

    if (param->gestureCount++ != 0)
        return;

    tellEach (*param, [&] (auto& l) { l.paramGestureChanged (source, id, true); });
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

    {
        const WriteSequence::ScopedWrite write (writeSequence);
        setting->published.publish (setting->value);
    }

    setting->listeners.callEach ([&] (auto& listener)
    {
        if (&listener != source)
            listener.nonAutomatableParamValueChanged (id, var (setting->value));
    });
}

void HvParamsManager::addParamListener (AutomatableParamListener* listener, int id, ListenerInitState state)
{
    auto* param = findParam (id);
    if (param == nullptr || listener == nullptr)
        return;

    param->listeners.add (listener);

    if (state == notifyCurrentValue)
        tell (*param, *listener, [&] (auto& l) { l.paramValueChanged (nullptr, id, param->value.load()); });
}

void HvParamsManager::removeParamListener (AutomatableParamListener* listener, int id)
{
    if (auto* param = findParam (id))
        param->listeners.remove (listener);
}

void HvParamsManager::addNonAutomatableParamListener (NonAutomatableParamListener* listener, int id, ListenerInitState state)
{
    auto* setting = findNonAutomatableParam (id);
    if (setting == nullptr || listener == nullptr)
        return;

    setting->listeners.add (listener);

    if (state == notifyCurrentValue)
        listener->nonAutomatableParamValueChanged (id, var (setting->value));
}

void HvParamsManager::removeNonAutomatableParamListener (NonAutomatableParamListener* listener, int id)
{
    if (auto* setting = findNonAutomatableParam (id))
        setting->listeners.remove (listener);
}

float HvParamsManager::getParamValue (int id) const
{
    if (auto* param = findParam (id))
        return param->value.load();

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

bool HvParamsManager::isHostParameter (const AutomatableParamListener* source) const noexcept
{
    if (source == nullptr)
        return false;

    for (auto* param : automatableParams)
        if (param->hostListener == source)
            return true;

    return false;
}

HvParamsManager::Snapshot HvParamsManager::takeSnapshot() const
{
    Snapshot snapshot;
    snapshot.params.resize ((size_t) automatableParams.size());
    snapshot.settings.resize ((size_t) nonAutomatableParams.size());

    writeSequence.readConsistently ([&]
    {
        for (int id = 0; id < automatableParams.size(); ++id)
            snapshot.params[(size_t) id] = automatableParams.getUnchecked (id)->value.load();

        for (int id = 0; id < nonAutomatableParams.size(); ++id)
            snapshot.settings[(size_t) id] = nonAutomatableParams.getUnchecked (id)->published.read();
    });

    return snapshot;
}

void HvParamsManager::storeRestoredValues (const std::vector<std::pair<int, float>>& values, bool reportToHost)
{
    {
        const WriteSequence::ScopedWrite write (writeSequence);

        for (const auto& [id, value] : values)
            if (auto* param = findParam (id))
                param->value.store (value);
    }

    // The host is inside one of its calls on the instance here, so its parameters exist.
    for (const auto& [id, value] : values)
        if (auto* param = findParam (id); param != nullptr && param->hostParameter != nullptr)
            param->hostParameter->takeRestoredValue (value, reportToHost);
}

void HvParamsManager::detachHostParameters()
{
    if (! hostObjects.isOpen())
        return;

    hostObjects.close();

    // Lock order: this waits only for a call into the host parameters that the message thread
    // has already begun (a change or a gesture being reported to the host), never for the
    // message thread as such. A host therefore must not destroy an instance while it holds a
    // lock that this same instance's report is waiting for; no other instance, and no other
    // work of the message thread, can hold it up. On the message thread nothing is waited
    // for: a call inside is then one that this very thread is making.
    if (! MessageManager::existsAndIsCurrentThread())
        hostObjects.waitForCallsInside();

    // The message thread no longer calls them, so this thread may: a gesture that would have
    // ended later (a knob turned on the unit, a linked twin) ends before they go.
    for (auto* param : automatableParams)
        if (param->hostParameter != nullptr)
            param->hostParameter->endGestureLeftOpen();
}

void HvParamsManager::handOverHostChange (int id)
{
    if (auto* param = findParam (id))
    {
        param->hostChangeWaiting.store (true);
        triggerAsyncUpdate();
    }
}

void HvParamsManager::handleAsyncUpdate()
{
    for (auto* param : automatableParams)
    {
        if (! param->hostChangeWaiting.exchange (false))
            continue;

        float hostValue = 0.0f;
        {
            const auto entry = hostObjects.enter();
            if (! entry)
                return;

            hostValue = param->hostParameter->getHostValue();
        }

        // The host parameter is the source, so it is not told of its own change.
        setParamValue (param->hostListener, param->id, hostValue);
    }
}

void HvParamsManager::addAutomatableParam (HvDawParameter& hostParameter)
{
    const auto id = automatableParams.size();
    automatableParams.add (new AutomatableParameter (*this, &hostParameter, id, hostParameter.getDefaultValue()));
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
