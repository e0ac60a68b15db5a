#include "GuestKernel.h"

#include <alsa/asoundlib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace guest_test
{

bool GuestKernel::loadModules (const std::string& listFile, std::string& error)
{
    std::ifstream list (listFile);

    if (! list)
    {
        error = "no module list " + listFile;
        return false;
    }

    std::string line;

    while (std::getline (list, line))
    {
        if (line.empty())
            continue;

        const auto space = line.find (' ');
        const auto path = line.substr (0, space);
        const auto params = space == std::string::npos ? std::string() : line.substr (space + 1);
        const auto fd = ::open (path.c_str(), O_RDONLY | O_CLOEXEC);

        if (fd < 0)
        {
            error = "cannot open " + path;
            return false;
        }

        const auto result = ::syscall (SYS_finit_module, fd, params.c_str(), 0);
        const auto code = errno;
        ::close (fd);

        if (result != 0 && code != EEXIST)
        {
            error = "cannot load " + path + ": " + std::strerror (code);
            return false;
        }
    }

    return true;
}

bool GuestKernel::writeFile (const std::string& path, const std::string& text)
{
    const auto fd = ::open (path.c_str(), O_WRONLY | O_CLOEXEC);

    if (fd < 0)
        return false;

    const auto written = ::write (fd, text.data(), text.size());
    ::close (fd);
    return written == (ssize_t) text.size();
}

std::string GuestKernel::readFile (const std::string& path)
{
    std::ifstream file (path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool GuestKernel::exists (const std::string& path)
{
    struct stat info;
    return ::lstat (path.c_str(), &info) == 0;
}

bool GuestKernel::waitForPath (const std::string& path, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);

    while (! exists (path))
    {
        if (std::chrono::steady_clock::now() > end)
            return false;

        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }

    return true;
}

namespace
{
struct Observer
{
    Observer() { snd_seq_open (&seq, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK); }
    ~Observer() { if (seq != nullptr) snd_seq_close (seq); }
    snd_seq_t* seq = nullptr;
};
} // namespace

std::vector<int> GuestKernel::clientsNamed (const std::string& name)
{
    Observer observer;
    std::vector<int> found;

    if (observer.seq == nullptr)
        return found;

    snd_seq_client_info_t* info = nullptr;
    snd_seq_client_info_alloca (&info);
    snd_seq_client_info_set_client (info, -1);

    while (snd_seq_query_next_client (observer.seq, info) >= 0)
        if (name == snd_seq_client_info_get_name (info))
            found.push_back (snd_seq_client_info_get_client (info));

    return found;
}

int GuestKernel::subscriptionsOf (int client, int port)
{
    Observer observer;

    if (observer.seq == nullptr)
        return -1;

    int count = 0;
    snd_seq_query_subscribe_t* query = nullptr;
    snd_seq_query_subscribe_alloca (&query);
    snd_seq_addr_t address { static_cast<unsigned char> (client), static_cast<unsigned char> (port) };

    for (auto type : { SND_SEQ_QUERY_SUBS_READ, SND_SEQ_QUERY_SUBS_WRITE })
    {
        snd_seq_query_subscribe_set_root (query, &address);
        snd_seq_query_subscribe_set_type (query, type);
        snd_seq_query_subscribe_set_index (query, 0);

        while (snd_seq_query_port_subscribers (observer.seq, query) >= 0)
        {
            ++count;
            snd_seq_query_subscribe_set_index (query, snd_seq_query_subscribe_get_index (query) + 1);
        }
    }

    return count;
}

} // namespace guest_test
