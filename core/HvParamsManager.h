#pragma once

#include <juce_core/juce_core.h>

namespace juce
{

class HvDawParameter;

/** The one store of every value the plug-in keeps: automatable parameters (floats the host
    can automate) and non-automatable settings (vars only the plug-in's own parts change).

    Every change names its source so that a listener is not told of its own change.
    Message thread only: other threads hand their values over through HvDawParameter and
    ThreadBarierNonAutomatableParameter.
*/
class HvParamsManager
{
public:
    enum ListenerInitState
    {
        notifyCurrentValue = 0,
        noNotification = 1
    };

    class AutomatableParamListener
    {
    public:
        virtual ~AutomatableParamListener() = default;

        /** Drops changes this listener made itself; override it to see them. */
        virtual void paramValueChanged (AutomatableParamListener* source, int id, float value);
        virtual void paramValueChanged (int id, float value);

        virtual void paramGestureChanged (AutomatableParamListener* source, int id, bool starting);
        virtual void paramGestureChanged (int id, bool starting);
    };

    class NonAutomatableParamListener
    {
    public:
        virtual ~NonAutomatableParamListener() = default;
        virtual void nonAutomatableParamValueChanged (int id, var value) = 0;
    };

    struct AutomatableParameter
    {
        AutomatableParameter (HvParamsManager& owner, HvDawParameter* hostParameter, int id, float value);

        void endParamGesture (AutomatableParamListener* source);

        HvDawParameter* hostParameter;
        Array<AutomatableParamListener*> listeners;
        HvParamsManager& manager;
        int id;
        float value;
        int gestureCount = 0;
    };

    struct NonAutomatableParamData
    {
        explicit NonAutomatableParamData (var initialValue) : value (std::move (initialValue)) {}

        var value;
        Array<NonAutomatableParamListener*> listeners;
    };

    HvParamsManager() = default;
    virtual ~HvParamsManager() = default;

    virtual void setParamValue (AutomatableParamListener* source, int id, float value);
    virtual void beginParamGesture (AutomatableParamListener* source, int id);
    virtual void endParamGesture (AutomatableParamListener* source, int id);
    virtual void setNonAutomatableParamValue (NonAutomatableParamListener* source, int id, var value);

    void addParamListener (AutomatableParamListener* listener, int id, ListenerInitState state);
    void removeParamListener (AutomatableParamListener* listener, int id);
    void addNonAutomatableParamListener (NonAutomatableParamListener* listener, int id, ListenerInitState state);
    void removeNonAutomatableParamListener (NonAutomatableParamListener* listener, int id);

    float getParamValue (int id) const;
    var getNonAutomatableParamValue (int id) const;

    int getNumParams() const noexcept { return automatableParams.size(); }
    int getNumNonAutomatableParams() const noexcept { return nonAutomatableParams.size(); }

    /** The host parameter of an id, or nullptr for an id outside the table. */
    HvDawParameter* getHostParameter (int id) const;

protected:
    /** Appends the record of the next id; the host parameter becomes its first listener and
        its default, in plain units, the stored value. */
    void addAutomatableParam (HvDawParameter& hostParameter);
    void addNonAutomatableParam (var initialValue);

private:
    AutomatableParameter* findParam (int id) const;
    NonAutomatableParamData* findNonAutomatableParam (int id) const;

    OwnedArray<AutomatableParameter> automatableParams;
    OwnedArray<NonAutomatableParamData> nonAutomatableParams;

    JUCE_DECLARE_NON_COPYABLE (HvParamsManager)
};

} // namespace juce
