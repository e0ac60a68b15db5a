#include "SequencerUnit.h"

#include <alsa/asoundlib.h>

#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace guest_test
{

SequencerUnit::SequencerUnit (Options options) : unit (options.serialNumber, options.answersQuery)
{
    if (snd_seq_open (&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
        throw std::runtime_error ("the unit cannot open the sequencer");

    const auto caps = options.capabilities != 0 ? options.capabilities
                                                : SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ | SND_SEQ_PORT_CAP_WRITE
                                                      | SND_SEQ_PORT_CAP_SUBS_WRITE | SND_SEQ_PORT_CAP_DUPLEX;
    snd_seq_set_client_name (seq, options.name.c_str());
    snd_seq_set_client_pool_input (seq, 1000); // holds a burst while this slow thread catches up
    clientNumber = snd_seq_client_id (seq);
    portNumber = snd_seq_create_simple_port (seq, (options.name + " MIDI 1").c_str(), caps,
                                             SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE);

    if (portNumber < 0 || ::pipe (stopPipe) != 0)
        throw std::runtime_error ("the unit cannot make its port");

    thread = std::thread ([this] { run(); });
}

SequencerUnit::~SequencerUnit()
{
    const char byte = 0;
    [[maybe_unused]] auto written = ::write (stopPipe[1], &byte, 1);
    thread.join();
    snd_seq_close (seq);
    ::close (stopPipe[0]);
    ::close (stopPipe[1]);
}

void SequencerUnit::run()
{
    std::vector<pollfd> fds ((size_t) snd_seq_poll_descriptors_count (seq, POLLIN) + 1);
    snd_seq_poll_descriptors (seq, fds.data() + 1, (unsigned int) fds.size() - 1, POLLIN);
    fds[0] = { stopPipe[0], POLLIN, 0 };

    for (;;)
    {
        ::poll (fds.data(), fds.size(), -1);

        if (fds[0].revents != 0)
            return;

        snd_seq_event_t* event = nullptr;

        while (snd_seq_event_input (seq, &event) >= 0 && event != nullptr)
        {
            if (event->type != SND_SEQ_EVENT_SYSEX)
                continue;

            const auto* bytes = static_cast<const uint8_t*> (event->data.ext.ptr);
            const auto reply = unit.receive (Bytes (bytes, bytes + event->data.ext.len));

            if (! reply.empty())
                sendSysex (reply);
        }
    }
}

bool SequencerUnit::output (snd_seq_event_t& event)
{
    snd_seq_ev_set_source (&event, portNumber);
    snd_seq_ev_set_subs (&event);
    snd_seq_ev_set_direct (&event);

    const std::lock_guard<std::mutex> hold (outputLock);

    for (int attempt = 0; attempt < 200; ++attempt)
    {
        const auto result = snd_seq_event_output_direct (seq, &event);

        if (result != -EAGAIN)
            return result >= 0;

        ::usleep (1000);
    }

    return false;
}

bool SequencerUnit::sendSysex (const Bytes& bytes)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    event.type = SND_SEQ_EVENT_SYSEX;
    event.flags = static_cast<unsigned char> ((event.flags & ~SND_SEQ_EVENT_LENGTH_MASK) | SND_SEQ_EVENT_LENGTH_VARIABLE);
    event.data.ext.len = static_cast<unsigned int> (bytes.size());
    event.data.ext.ptr = const_cast<uint8_t*> (bytes.data());
    return output (event);
}

bool SequencerUnit::sendNoteOn (int note)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    event.type = SND_SEQ_EVENT_NOTEON;
    event.data.note.channel = 0;
    event.data.note.note = static_cast<unsigned char> (note);
    event.data.note.velocity = 100;
    return output (event);
}

bool SequencerUnit::sendController (int number, int value)
{
    snd_seq_event_t event;
    snd_seq_ev_clear (&event);
    event.type = SND_SEQ_EVENT_CONTROLLER;
    event.data.control.channel = 0;
    event.data.control.param = static_cast<unsigned int> (number);
    event.data.control.value = value;
    return output (event);
}

} // namespace guest_test
