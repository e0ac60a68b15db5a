#include "GadgetUnit.h"

#include "GuestKernel.h"
#include "link/platform/alsa/AlsaSysexJoiner.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace guest_test
{

namespace
{
constexpr const char* gadgetRoot = "/sys/kernel/config/usb_gadget/";
} // namespace

GadgetUnit::GadgetUnit (std::string tagToUse, std::string controllerToUse, int serialNumber)
    : tag (std::move (tagToUse)), controller (std::move (controllerToUse)), gadget (gadgetRoot + tag), unit (serialNumber, true)
{
}

GadgetUnit::~GadgetUnit()
{
    if (plugged)
        unplug();

    stopResponder();
}

bool GadgetUnit::create (std::string& error)
{
    if (created)
        return true;

    const auto fail = [&] (const std::string& what) { error = "gadget " + tag + ": " + what; return false; };
    const auto function = gadget + "/functions/midi." + tag;

    if (::mkdir (gadget.c_str(), 0755) != 0 || ! GuestKernel::writeFile (gadget + "/idVendor", "0x1209")
        || ! GuestKernel::writeFile (gadget + "/idProduct", "0x0713") || ::mkdir ((gadget + "/strings/0x409").c_str(), 0755) != 0
        || ! GuestKernel::writeFile (gadget + "/strings/0x409/manufacturer", "Halvorstine")
        || ! GuestKernel::writeFile (gadget + "/strings/0x409/product", "Halvorstine 713K")
        || ! GuestKernel::writeFile (gadget + "/strings/0x409/serialnumber", std::to_string (unit.serialNumber())))
        return fail ("cannot describe the device");

    if (::mkdir ((gadget + "/configs/c.1").c_str(), 0755) != 0 || ::mkdir (function.c_str(), 0755) != 0
        || ! GuestKernel::writeFile (function + "/in_ports", "1") || ! GuestKernel::writeFile (function + "/out_ports", "1")
        || ! GuestKernel::writeFile (function + "/id", tag)
        || ::symlink (function.c_str(), (gadget + "/configs/c.1/midi." + tag).c_str()) != 0)
        return fail ("cannot make the MIDI function");

    created = true;
    return true;
}

bool GadgetUnit::plugIn (std::string& error)
{
    if (! create (error))
        return false;

    stopResponder();

    if (! GuestKernel::writeFile (gadget + "/UDC", controller))
    {
        error = "gadget " + tag + ": cannot bind to " + controller;
        return false;
    }

    plugged = true;

    // The gadget's side is a card of its own, named after the function's id.
    const auto card = "/proc/asound/" + tag;

    if (! GuestKernel::waitForPath (card, 5000))
    {
        error = "gadget " + tag + ": its card never appeared";
        return false;
    }

    char target[64] = {};
    const auto length = ::readlink (card.c_str(), target, sizeof (target) - 1);
    const std::string cardDir (target, length > 0 ? (size_t) length : 0); // "cardN"
    const auto device = "/dev/snd/midiC" + cardDir.substr (4) + "D0";

    if (! GuestKernel::waitForPath (device, 5000) || (midi = ::open (device.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC)) < 0)
    {
        error = "gadget " + tag + ": cannot open " + device;
        return false;
    }

    if (::pipe (stopPipe) != 0)
        return false;

    responder = std::thread ([this] { respond(); });
    return true;
}

void GadgetUnit::unplug()
{
    GuestKernel::writeFile (gadget + "/UDC", "\n");
    plugged = false;
    stopResponder();

    // Its own card goes with it; plugging in again waits for the new one.
    const auto card = "/proc/asound/" + tag;
    for (int i = 0; i < 2500 && GuestKernel::exists (card); ++i)
        ::usleep (2000);
}

void GadgetUnit::stopResponder()
{
    if (responder.joinable())
    {
        const char byte = 0;
        [[maybe_unused]] auto written = ::write (stopPipe[1], &byte, 1);
        responder.join();
    }

    const std::lock_guard<std::mutex> hold (writeLock);

    for (auto* fd : { &midi, &stopPipe[0], &stopPipe[1] })
    {
        if (*fd >= 0)
            ::close (*fd);
        *fd = -1;
    }
}

void GadgetUnit::respond()
{
    hv_alsa::AlsaSysexJoiner joiner;
    pollfd fds[2] = { { stopPipe[0], POLLIN, 0 }, { midi, POLLIN, 0 } };

    for (;;)
    {
        ::poll (fds, 2, -1);

        if (fds[0].revents != 0 || (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
            return;

        uint8_t buffer[512];
        const auto got = ::read (midi, buffer, sizeof (buffer));

        if (got < 0 && errno != EAGAIN)
            return; // the device went with the unplug

        if (got <= 0)
            continue;

        joiner.add (buffer, (size_t) got, [this] (const uint8_t* message, size_t length)
        {
            const auto reply = unit.receive (Bytes (message, message + length));

            if (! reply.empty())
                send (reply);
        });
    }
}

bool GadgetUnit::send (const Bytes& bytes)
{
    const std::lock_guard<std::mutex> hold (writeLock);

    if (midi < 0)
        return false;

    size_t done = 0;

    for (int attempt = 0; done < bytes.size() && attempt < 1000; ++attempt)
    {
        const auto written = ::write (midi, bytes.data() + done, bytes.size() - done);

        if (written > 0)
            done += (size_t) written;
        else if (written < 0 && errno != EAGAIN)
            return false;
        else
            ::usleep (1000);
    }

    return done == bytes.size();
}

} // namespace guest_test
