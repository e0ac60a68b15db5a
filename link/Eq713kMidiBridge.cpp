#include "link/Eq713kMidiBridge.h"

#include "core/Eq713kParamsManager.h"
#include "core/NormalisedValue.h"
#include "core/ParamData.h"
#include "link/MidiChannelParam.h"
#include "link/MidiLRParam.h"
#include "link/MidiSwitchParams.h"

#include <juce_core/juce_core.h>

#include <array>

namespace
{

/** Rounds halves to even: 62.5 gives 62. */
int rounded (float x) noexcept
{
    return juce::roundToInt (x);
}

int engageToInt (float v) { return v > 0.5f ? 64 : 0; }

int gainToInt (float v) { return rounded (250.0f * v); }

int hiBandwidthToInt (float v)
{
    switch (rounded (3.0f * v) - 1)
    {
        case 0:  return 85;
        case 1:  return 172;
        case 2:  return 255;
        default: return 0;
    }
}

int hiKcsBoostToInt (float v)
{
    const auto k = rounded (6.0f * v);
    return juce::isPositiveAndBelow (k, 6) ? (64 >> k) : 1;
}

int loCpsToInt (float v)
{
    const auto k = rounded (3.0f * v);
    return juce::isPositiveAndBelow (k, 3) ? (8 >> k) : 1;
}

int hiKcsAttenToInt (float v)
{
    switch (rounded (v + v))
    {
        case 0:  return 64;
        case 1:  return 32;
        default: return 16;
    }
}

float engageToFloat (int n) { return (n & 64) != 0 ? 1.0f : 0.0f; }

// The wire carries up to 255 (and more) where the controls end at 250.
float gainToFloat (int n) { return (float) juce::jlimit (0, 250, n) / 250.0f; }

float hiBandwidthToFloat (int n)
{
    switch (n)
    {
        case 0:   return 0.0f;
        case 85:  return 1.0f / 3.0f;
        case 172: return 2.0f / 3.0f;
        default:  return 1.0f;
    }
}

float hiKcsBoostToFloat (int n)
{
    for (int position = 0; position < 6; ++position)
        if ((n & (64 >> position)) != 0)
            return (float) position / 6.0f;

    return 1.0f;
}

float loCpsToFloat (int n)
{
    if ((n & 8) != 0) return 0.0f;
    if ((n & 4) != 0) return 1.0f / 3.0f;
    if ((n & 2) != 0) return 2.0f / 3.0f;
    return 1.0f;
}

float hiKcsAttenToFloat (int n)
{
    if ((n & 16) != 0) return 1.0f;
    if ((n & 32) != 0) return 0.5f;
    return 0.0f;
}

} // namespace

Eq713kMidiBridge::FloatToInt Eq713kMidiBridge::getLambdaMidiFloatToInt (int converter)
{
    int (*toInt) (float) = nullptr;

    switch (converter)
    {
        case engageConverter:      toInt = engageToInt; break;
        case gainConverter:        toInt = gainToInt; break;
        case hiBandwidthConverter: toInt = hiBandwidthToInt; break;
        case hiKcsBoostConverter:  toInt = hiKcsBoostToInt; break;
        case loCpsConverter:       toInt = loCpsToInt; break;
        case hiKcsAttenConverter:  toInt = hiKcsAttenToInt; break;
        default:                   return [] (float) { return 0; };
    }

    return [toInt] (float v) { return toInt (NormalisedValue::clamped (v)); };
}

Eq713kMidiBridge::IntToFloat Eq713kMidiBridge::getLambdaMidiIntToFloat (int converter)
{
    switch (converter)
    {
        case engageConverter:      return engageToFloat;
        case gainConverter:        return gainToFloat;
        case hiBandwidthConverter: return hiBandwidthToFloat;
        case hiKcsBoostConverter:  return hiKcsBoostToFloat;
        case loCpsConverter:       return loCpsToFloat;
        case hiKcsAttenConverter:  return hiKcsAttenToFloat;
        default:                   return [] (int) { return 0.0f; };
    }
}

//==============================================================================
/** The objects of one connection, in the order of the hardware map. */
struct Eq713kMidiBridge::HardwareObjects
{
    enum LrIndex
    {
        engage,
        loBoost,
        loAtten,
        hiBoost,
        hiAtten,
        hiBandwidth,
        hiKcsBoost,
        numLr
    };

    HardwareObjects (juce::MidiDevice* unit, Eq713kParamsManager& manager)
    {
        struct LrRow { int leftId, hardwareNumber, converter; };
        static constexpr LrRow rows[numLr] = {
            { ParamData::ENGAGE_1, 15, engageConverter },
            { ParamData::LO_BOOST_1, 4, gainConverter },
            { ParamData::LO_ATTEN_1, 9, gainConverter },
            { ParamData::HI_BOOST_1, 5, gainConverter },
            { ParamData::HI_ATTEN_1, 10, gainConverter },
            { ParamData::HI_BANDWIDTH_1, 16, hiBandwidthConverter },
            { ParamData::HI_KCS_BOOST_1, 12, hiKcsBoostConverter },
        };

        channel = std::make_unique<MidiChannelParam> (unit, manager, ParamData::CHANNEL, ParamData::SELECTED_CHANNEL);

        for (int i = 0; i < numLr; ++i)
            lr[(size_t) i] = std::make_unique<MidiLRParam> (unit, manager, rows[i].leftId,
                                                            rows[i].leftId + ParamData::channelStride,
                                                            rows[i].hardwareNumber,
                                                            getLambdaMidiIntToFloat (rows[i].converter),
                                                            getLambdaMidiFloatToInt (rows[i].converter));

        switches = std::make_unique<MidiSwitchParams> (unit, manager,
                                                       ParamData::LO_CPS_1, ParamData::LO_CPS_2, 13,
                                                       getLambdaMidiIntToFloat (loCpsConverter),
                                                       getLambdaMidiFloatToInt (loCpsConverter),
                                                       ParamData::HI_KCS_ATTEN_1, ParamData::HI_KCS_ATTEN_2,
                                                       getLambdaMidiIntToFloat (hiKcsAttenConverter),
                                                       getLambdaMidiFloatToInt (hiKcsAttenConverter));

        for (auto& object : lr)
            channel->addChannelListener (object.get());

        channel->addChannelListener (switches.get());
    }

    ~HardwareObjects()
    {
        for (auto& object : lr)
            channel->removeChannelListener (object.get());

        channel->removeChannelListener (switches.get());

        switches.reset();
        for (auto it = lr.rbegin(); it != lr.rend(); ++it)
            it->reset();
        channel.reset();
    }

    /** Receive thread: the routing of one report. */
    void route (int hardwareNumber, int value)
    {
        switch (hardwareNumber)
        {
            case 4:  lr[loBoost]->paramMidiChanged (value); break;
            case 5:  lr[hiBoost]->paramMidiChanged (value); break;
            case 9:  lr[loAtten]->paramMidiChanged (value); break;
            case 10: lr[hiAtten]->paramMidiChanged (value); break;
            case 12: lr[hiKcsBoost]->paramMidiChanged (value); break;
            case 13: switches->paramMidiChanged (value); break;
            case 14: channel->paramMidiChanged (value); break;
            case 15: lr[engage]->paramMidiChanged (value); break;

            case 16:
                // The unit has switched: the set-up window ends, open or not.
                lr[hiBandwidth]->paramMidiChanged (value);
                channel->finishSetUpAsync();
                break;

            default: break;
        }
    }

    std::unique_ptr<MidiChannelParam> channel;
    std::array<std::unique_ptr<MidiLRParam>, numLr> lr;
    std::unique_ptr<MidiSwitchParams> switches;
};

//==============================================================================
Eq713kMidiBridge::Eq713kMidiBridge (Instance& owner, Eq713kParamsManager& manager)
    : instance (owner), params (manager)
{
}

Eq713kMidiBridge::~Eq713kMidiBridge()
{
    deleteHardwareObjects();
}

void Eq713kMidiBridge::setConnectedMidiDevice (juce::MidiDevice* newDevice)
{
    device = newDevice;
    deleteHardwareObjects();

    if (device == nullptr)
        return;

    // Nothing is sent while the objects are built: they register without being told the
    // current values, so the channel selection below is the connection's first message.
    publish (std::make_unique<HardwareObjects> (device, params));
    published.load()->channel->sendForced();
}

void Eq713kMidiBridge::hidConnectionCallback (bool connected)
{
    if (connected)
        return;

    instance.connectionLost();
    deleteHardwareObjects();
}

void Eq713kMidiBridge::paramReceived (int hardwareNumber, int value)
{
    reportsBeingRouted.enter();

    if (auto* objects = published.load())
        objects->route (hardwareNumber, value);

    reportsBeingRouted.leave();
}

void Eq713kMidiBridge::publish (std::unique_ptr<HardwareObjects> objects)
{
    published.store (objects.release());
}

void Eq713kMidiBridge::deleteHardwareObjects()
{
    std::unique_ptr<HardwareObjects> objects (published.exchange (nullptr));

    if (objects == nullptr)
        return;

    // Every report that may still be routing to the objects began before this wait.
    reportsBeingRouted.waitForCallsInFlight();
}
