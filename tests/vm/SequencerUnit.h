#pragma once

#include "UnitCore.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

struct _snd_seq;
struct snd_seq_event;

namespace guest_test
{

/** A unit played by a sequencer client of its own (another client of this process): one port,
    named and with the rights it is given; it answers the serial-number query and sends its
    reports to its port's subscribers, as the kernel's client of a USB MIDI device does. */
class SequencerUnit
{
public:
    struct Options
    {
        std::string name = "Halvorstine 713K";
        unsigned int capabilities = 0; // 0: read and write, both subscribable
        int serialNumber = 21;
        bool answersQuery = true;
    };

    explicit SequencerUnit (Options options);
    ~SequencerUnit();

    UnitCore& core() { return unit; }
    int client() const { return clientNumber; }
    int port() const { return portNumber; }

    /** Sends one system-exclusive event (a whole message or a chunk of one) to the subscribers. */
    bool sendSysex (const Bytes& bytes);
    bool sendReport (int hardwareNumber, int value) { return sendSysex (unit.report (hardwareNumber, value)); }
    bool sendNoteOn (int note);
    bool sendController (int number, int value);

private:
    void run();
    bool output (snd_seq_event& event);

    UnitCore unit;
    _snd_seq* seq = nullptr;
    int clientNumber = -1;
    int portNumber = -1;
    int stopPipe[2] = { -1, -1 };
    std::mutex outputLock;
    std::thread thread;
};

} // namespace guest_test
