#include "link/Eq713kMidiBridge.h"

#include "core/Eq713kParamsManager.h"
#include "core/NormalisedValue.h"
#include "core/ParamData.h"
#include "core/ProductTable.h"
#include "link/MidiChannelParam.h"
#include "link/MidiLRParam.h"
#include "link/MidiSwitchParams.h"

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

namespace
{

/** Rounds halves to even: 62.5 gives 62. */
int rounded (float x) noexcept
{
    return juce::roundToInt (x);
}

int engageToInt (float v) { return v > 0.5f ? 64 : 0; }

int gainToInt (float v) { return rounded ((float) ProductTable::gainSteps * v); }

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

// The wire carries up to 255 (and more) where the controls end at their last step.
float gainToFloat (int n) { return (float) juce::jlimit (0, ProductTable::gainSteps, n) / (float) ProductTable::gainSteps; }

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
        case ProductTable::engageConverter:      toInt = engageToInt; break;
        case ProductTable::gainConverter:        toInt = gainToInt; break;
        case ProductTable::hiBandwidthConverter: toInt = hiBandwidthToInt; break;
        case ProductTable::hiKcsBoostConverter:  toInt = hiKcsBoostToInt; break;
        case ProductTable::loCpsConverter:       toInt = loCpsToInt; break;
        case ProductTable::hiKcsAttenConverter:  toInt = hiKcsAttenToInt; break;
        default:                   return [] (float) { return 0; };
    }

    return [toInt] (float v) { return toInt (NormalisedValue::clamped (v)); };
}

Eq713kMidiBridge::IntToFloat Eq713kMidiBridge::getLambdaMidiIntToFloat (int converter)
{
    switch (converter)
    {
        case ProductTable::engageConverter:      return engageToFloat;
        case ProductTable::gainConverter:        return gainToFloat;
        case ProductTable::hiBandwidthConverter: return hiBandwidthToFloat;
        case ProductTable::hiKcsBoostConverter:  return hiKcsBoostToFloat;
        case ProductTable::loCpsConverter:       return loCpsToFloat;
        case ProductTable::hiKcsAttenConverter:  return hiKcsAttenToFloat;
        default:                   return [] (int) { return 0.0f; };
    }
}

//==============================================================================
/** The objects of one connection, built from the product table's hardware map: the channel
    object, one left/right object per control with a hardware number of its own, in id order,
    and the switch-pair object for the two controls that share the switch byte. */
struct Eq713kMidiBridge::HardwareObjects
{
    HardwareObjects (juce::MidiDevice* unit, Eq713kParamsManager& manager)
    {
        channel = std::make_unique<MidiChannelParam> (unit, manager, ParamData::CHANNEL, ParamData::SELECTED_CHANNEL);

        std::vector<int> sharingTheSwitchByte;

        for (int leftId = ParamData::ENGAGE_1; leftId < ParamData::ENGAGE_1 + ParamData::channelStride; ++leftId)
        {
            const auto& control = *ProductTable::controlOf (leftId);

            if (control.hardwareNumber == ProductTable::switchByteNumber)
            {
                sharingTheSwitchByte.push_back (leftId);
                continue;
            }

            lr.push_back (std::make_unique<MidiLRParam> (unit, manager, leftId, leftId + ParamData::channelStride,
                                                         control.hardwareNumber,
                                                         getLambdaMidiIntToFloat (control.converter),
                                                         getLambdaMidiFloatToInt (control.converter)));
            routes[(size_t) control.hardwareNumber] = lr.back().get();
        }

        jassert (sharingTheSwitchByte.size() == 2);
        const auto first = sharingTheSwitchByte.front();
        const auto second = sharingTheSwitchByte.back();
        const auto firstConverter = ProductTable::controlOf (first)->converter;
        const auto secondConverter = ProductTable::controlOf (second)->converter;

        switches = std::make_unique<MidiSwitchParams> (unit, manager,
                                                       first, first + ParamData::channelStride, ProductTable::switchByteNumber,
                                                       getLambdaMidiIntToFloat (firstConverter),
                                                       getLambdaMidiFloatToInt (firstConverter),
                                                       second, second + ParamData::channelStride,
                                                       getLambdaMidiIntToFloat (secondConverter),
                                                       getLambdaMidiFloatToInt (secondConverter));
        routes[(size_t) ProductTable::switchByteNumber] = switches.get();

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

    /** Receive thread: the routing of one report, by the numbers the objects were built with. */
    void route (int hardwareNumber, int value)
    {
        if (hardwareNumber == ProductTable::channelNumber)
        {
            channel->paramMidiChanged (value);
            return;
        }

        if (! juce::isPositiveAndBelow (hardwareNumber, ProductTable::numHardwareNumbers))
            return;

        if (auto* object = routes[(size_t) hardwareNumber])
            object->paramMidiChanged (value);

        // The unit has switched: the set-up window ends, open or not.
        if (hardwareNumber == ProductTable::channelSetUpDoneNumber)
            channel->finishSetUpAsync();
    }

    std::unique_ptr<MidiChannelParam> channel;
    std::vector<std::unique_ptr<MidiLRParam>> lr;
    std::unique_ptr<MidiSwitchParams> switches;

    // Written while the objects are built, only read once they are published.
    std::array<ChannelPairParams*, ProductTable::numHardwareNumbers> routes {};
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
    const auto entry = reportsBeingRouted.enter();

    if (auto* objects = published.load())
        objects->route (hardwareNumber, value);
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
    reportsBeingRouted.waitForCallsInside();
}
