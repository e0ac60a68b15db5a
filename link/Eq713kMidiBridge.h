#pragma once

#include "core/CallGate.h"
#include "core/ProductTable.h"
#include "link/MidiDevice.h"

#include <atomic>
#include <functional>
#include <memory>

class Eq713kParamsManager;
class MidiChannelParam;
class MidiLRParam;
class MidiSwitchParams;

/** The plug-in instance's end of a hardware connection: the holder the MIDI manager hands a
    unit to. Given a unit, it builds one hardware-parameter object per hardware number and
    starts the channel recall; it routes the unit's reports to them; when the unit is lost it
    tells its instance and drops them. It also holds the converters between normalised
    parameter values and the unit's values.
*/
class Eq713kMidiBridge : public juce::MidiDevice::Listener
{
public:
    /** What the bridge needs of the plug-in instance that owns it. */
    class Instance
    {
    public:
        virtual ~Instance() = default;

        /** Any thread: the unit is gone. */
        virtual void connectionLost() = 0;
    };

    Eq713kMidiBridge (Instance& instance, Eq713kParamsManager& params);
    ~Eq713kMidiBridge() override;

    /** Message thread. With a device: builds the objects and sends the channel selection;
        with none: drops any objects. */
    void setConnectedMidiDevice (juce::MidiDevice* device) override;

    /** Message thread. False: the unit is gone; the instance is told and the objects go. */
    void hidConnectionCallback (bool connected) override;

    /** Receive thread: hands the report to the object of its hardware number. */
    void paramReceived (int hardwareNumber, int value) override;

    juce::MidiDevice* getDevice() const noexcept { return device; }
    bool hasHardwareObjects() const noexcept { return published.load() != nullptr; }

    /** Selects a converter pair (ProductTable::Converter). */
    using Converter = ProductTable::Converter;

    using FloatToInt = std::function<int (float)>;
    using IntToFloat = std::function<float (int)>;

    /** Normalised value to the value sent. A value outside 0..1 is sent as the nearest end
        (a NaN as 0), never wrapped into another position. An unknown selector gives 0. */
    static FloatToInt getLambdaMidiFloatToInt (int converter);

    /** Value reported by the unit to the normalised value, always within 0..1. Each switch
        converter reads only its own bits. An unknown selector gives 0. */
    static IntToFloat getLambdaMidiIntToFloat (int converter);

private:
    struct HardwareObjects;

    /** Built whole, then published to the receive thread. */
    void publish (std::unique_ptr<HardwareObjects> objects);

    /** Taken from the receive thread, with the reports being routed finished, then deleted. */
    void deleteHardwareObjects();

    Instance& instance;
    Eq713kParamsManager& params;
    juce::MidiDevice* device = nullptr;

    std::atomic<HardwareObjects*> published { nullptr };
    CallGate reportsBeingRouted; // never closed: the objects are unpublished instead

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Eq713kMidiBridge)
};
