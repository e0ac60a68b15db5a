#include "core/StereoParameterLinker.h"

#include "core/HvDawParameter.h"
#include "core/NumberText.h"
#include "core/ParamData.h"
#include "core/ProductTable.h"
#include "core/StateFormat.h"

StereoParameterLinker::StereoParameterLinker (juce::HvParamsManager& owner, int first, int second)
    : manager (owner), firstId (first), secondId (second)
{
    manager.addParamListener (this, firstId, juce::HvParamsManager::noNotification);
    manager.addParamListener (this, secondId, juce::HvParamsManager::noNotification);
    manager.addParamListener (this, ParamData::CHANNEL, juce::HvParamsManager::notifyCurrentValue);
    addActionListener (this);
}

StereoParameterLinker::~StereoParameterLinker()
{
    removeActionListener (this);

    if (gestureOpenOnTwin[0])
        manager.endParamGesture (this, secondId);

    if (gestureOpenOnTwin[1])
        manager.endParamGesture (this, firstId);

    manager.removeParamListener (this, firstId);
    manager.removeParamListener (this, secondId);
    manager.removeParamListener (this, ParamData::CHANNEL);
}

bool StereoParameterLinker::isRestore (const AutomatableParamListener* source)
{
    return source == &juce::HvDawParameter::hostRestoreSource() || source == &StateFormat::presetSource();
}

void StereoParameterLinker::paramValueChanged (AutomatableParamListener* source, int id, float value)
{
    if (id == ParamData::CHANNEL)
    {
        linked.exchange (ProductTable::channelsLinked (value));
        return;
    }

    if (manager.isHostParameter (source) || source == this || isRestore (source) || ! linked.load())
        return;

    if (const auto twin = twinOf (id); twin >= 0)
        post (setValue, twin, (double) value);
}

void StereoParameterLinker::paramGestureChanged (AutomatableParamListener* source, int id, bool starting)
{
    if (source == this || isRestore (source))
        return;

    const auto twin = twinOf (id);
    if (twin < 0)
        return;

    auto& begun = gestureBegunOnTwin[twin == secondId ? 0 : 1];

    if (starting)
    {
        if (! linked.load() || begun)
            return;

        begun = true;
        post (beginGesture, twin, 0.0);
    }
    else if (begun)
    {
        begun = false;
        post (endGesture, twin, 0.0);
    }
}

void StereoParameterLinker::actionListenerCallback (const juce::String& message)
{
    juce::StringArray tokens;
    tokens.addTokens (message, "|", "\"");

    if (tokens.size() < 3)
        return;

    const auto kind = tokens[0].getIntValue();
    const auto id = tokens[1].getIntValue();

    switch (kind)
    {
        case setValue:     manager.setParamValue (this, id, (float) tokens[2].getDoubleValue()); break;
        case beginGesture: setTwinGestureOpen (id, true);  manager.beginParamGesture (this, id); break;
        case endGesture:   setTwinGestureOpen (id, false); manager.endParamGesture (this, id); break;
        default: break;
    }
}

void StereoParameterLinker::post (MessageKind kind, int twinId, double value)
{
    // The value goes in the stream's default form: at most 6 significant digits.
    sendActionMessage (juce::String ((int) kind) + "|" + juce::String (twinId) + "|" + NumberText::general (value));
}

void StereoParameterLinker::setTwinGestureOpen (int twinId, bool open)
{
    if (twinId == secondId)
        gestureOpenOnTwin[0] = open;
    else if (twinId == firstId)
        gestureOpenOnTwin[1] = open;
}

int StereoParameterLinker::twinOf (int id) const noexcept
{
    if (id == firstId)
        return secondId;

    if (id == secondId)
        return firstId;

    return -1;
}
