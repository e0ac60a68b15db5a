#pragma once

#include "UnitCore.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace guest_test
{

/** A unit on a simulated USB MIDI device: a USB gadget with one MIDI function, made through
    configfs and bound to a dummy device controller, so that the kernel's USB audio driver
    finds a device with the unit's product string. A responder on the gadget's own MIDI
    device plays the unit: it answers the serial-number query and sends reports. Plugging is
    binding the gadget; unplugging, unbinding it. */
class GadgetUnit
{
public:
    /** tag names the gadget and its card (a few letters); controller is e.g. "dummy_udc.0". */
    GadgetUnit (std::string tag, std::string controller, int serialNumber);
    ~GadgetUnit();

    /** Binds the gadget and starts the responder once the gadget's MIDI device is open. */
    bool plugIn (std::string& error);

    /** Unbinds the gadget; the responder ends when its device goes. */
    void unplug();

    bool isPlugged() const { return plugged; }
    UnitCore& core() { return unit; }

    /** Writes the bytes to the gadget's MIDI device: they reach the host as from the unit. */
    bool send (const Bytes& bytes);
    bool sendReport (int hardwareNumber, int value) { return send (unit.report (hardwareNumber, value)); }

private:
    bool create (std::string& error);
    void respond();
    void stopResponder();

    const std::string tag;
    const std::string controller;
    const std::string gadget;
    UnitCore unit;
    bool created = false;
    bool plugged = false;
    int midi = -1;
    int stopPipe[2] = { -1, -1 };
    std::mutex writeLock;
    std::thread responder;
};

} // namespace guest_test
