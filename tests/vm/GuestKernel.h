#pragma once

#include <string>
#include <vector>

namespace guest_test
{

/** The guest machine's kernel, as the end-to-end test drives it: it loads modules (the guest
    has no modprobe; the load orders are computed before the guest boots), writes the files
    of configfs and sysfs and looks at the sequencer from the outside. */
struct GuestKernel
{
    /** Loads each module of the file, one per line: its path, then its parameters; true when
        each is loaded now. Lines of modules already loaded are skipped. */
    static bool loadModules (const std::string& listFile, std::string& error);

    static bool writeFile (const std::string& path, const std::string& text);
    static std::string readFile (const std::string& path);
    static bool exists (const std::string& path);
    static bool waitForPath (const std::string& path, int timeoutMs);

    /** Sequencer clients by name, as they stand now. */
    static std::vector<int> clientsNamed (const std::string& name);

    /** Subscriptions to and from the port, seen from a client of its own. */
    static int subscriptionsOf (int client, int port);
};

} // namespace guest_test
