#include "ServerSockets.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

TSoundEnvironment TSoundEnvironment::OfProcess()
{
    return {.PulseServer = Variable("PULSE_SERVER"),
            .PulseRuntimePath = Variable("PULSE_RUNTIME_PATH"),
            .UserRuntimeDir = Variable("XDG_RUNTIME_DIR")};
}

std::vector<std::string> ServerSockets(const std::string& server, const TSoundEnvironment& environment)
{
    const std::string& named = server.empty() ? environment.PulseServer : server;
    std::vector<std::string> paths;
    if (named.empty()) {
        // Where a user's server, PulseAudio or PipeWire's, puts its socket.
        if (!environment.PulseRuntimePath.empty())
            paths.push_back(environment.PulseRuntimePath + "/native");
        else if (!environment.UserRuntimeDir.empty())
            paths.push_back(environment.UserRuntimeDir + "/pulse/native");
        return paths;
    }
    // A list of addresses, each perhaps after the machine it belongs to.
    std::size_t at = 0;
    while (at < named.size()) {
        const std::size_t end = std::min(named.find_first_of(" \t", at), named.size());
        std::string address = named.substr(at, end - at);
        at = end + 1;
        if (!address.empty() && address[0] == '{')
            address.erase(0, std::min(address.find('}'), address.size() - 1) + 1);
        if (address.starts_with("unix:"))
            address.erase(0, 5);
        if (address.starts_with("/"))
            paths.push_back(address);
    }
    return paths;
}
