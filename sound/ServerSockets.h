#pragma once

#include <string>
#include <vector>

// What the environment says about where the sound server is.
struct TSoundEnvironment {
    std::string PulseServer = {};      // PULSE_SERVER: a list of addresses
    std::string PulseRuntimePath = {}; // PULSE_RUNTIME_PATH: the server's own folder
    std::string UserRuntimeDir = {};   // XDG_RUNTIME_DIR

    static TSoundEnvironment OfProcess();
};

// The sockets a server at this address listens on, as a file path each;
// none for a server reached over the network. Without an address, the
// server the environment names, or else the user's own.
std::vector<std::string> ServerSockets(const std::string& server, const TSoundEnvironment& environment);
