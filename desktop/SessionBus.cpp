#include "SessionBus.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

enum TAnswer { Waiting, Answered, Silent };

// Connects and asks to authenticate, as every bus client starts; any answer
// at all, even a refusal, is a bus that answers.
TAnswer Ask(const std::string& socketName, std::chrono::steady_clock::time_point deadline)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketName.size() >= sizeof address.sun_path)
        return Answered;
    std::memcpy(address.sun_path, socketName.data(), socketName.size());
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + socketName.size() + (socketName[0] ? 1 : 0));
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Answered;
    // A socket that refuses fails libdbus at once too: only one that takes
    // the connection and then says nothing holds a caller back, and so does
    // one whose queue of connections is full, where libdbus would wait.
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        const bool full = errno == EAGAIN;
        close(fd);
        return full ? Silent : Answered;
    }
    char uid[32];
    std::snprintf(uid, sizeof uid, "%u", unsigned(getuid()));
    std::string request(1, '\0');
    request += "AUTH EXTERNAL ";
    for (const char* digit = uid; *digit; ++digit) {
        request += "0123456789abcdef"[(*digit >> 4) & 15];
        request += "0123456789abcdef"[*digit & 15];
    }
    request += "\r\n";
    TAnswer answer = Silent;
    if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) == ssize_t(request.size())) {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd watched{.fd = fd, .events = POLLIN, .revents = 0};
            const int ready = poll(&watched, 1, int(left.count()));
            if (ready > 0) {
                answer = Answered;
                break;
            }
            if (ready < 0 && errno != EINTR)
                break;
        }
    }
    close(fd);
    return answer;
}

} // namespace

std::string SessionBusSocket(const char* address, const char* runtimeFolder)
{
    if (!address || !*address) {
        // libdbus's own default before it launches a bus of its own.
        if (!runtimeFolder || !*runtimeFolder)
            return {};
        const std::string path = std::string(runtimeFolder) + "/bus";
        struct stat file{};
        return stat(path.c_str(), &file) == 0 && S_ISSOCK(file.st_mode) ? path : std::string();
    }
    // The first of the addresses, the one tried first.
    std::string first(address);
    first = first.substr(0, first.find(';'));
    if (first.rfind("unix:", 0) != 0)
        return {};
    const std::string keys = first.substr(5);
    for (size_t start = 0; start <= keys.size();) {
        const size_t end = std::min(keys.find(',', start), keys.size());
        const std::string pair = keys.substr(start, end - start);
        if (pair.rfind("path=", 0) == 0)
            return pair.substr(5);
        if (pair.rfind("abstract=", 0) == 0) {
            std::string name(1, '\0');
            name.append(pair, 9);
            return name;
        }
        start = end + 1;
    }
    return {};
}

TSessionBusProbe::TSessionBusProbe(double seconds)
{
    const std::string socketName = SessionBusSocket(std::getenv("DBUS_SESSION_BUS_ADDRESS"), std::getenv("XDG_RUNTIME_DIR"));
    // The accessibility bus named outright is used without the session bus.
    if (socketName.empty() || std::getenv("AT_SPI_BUS_ADDRESS"))
        return;
    const auto deadline = std::chrono::steady_clock::now()
                          + std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(seconds));
    FThread = std::thread([this, socketName, deadline] { FAnswer = Ask(socketName, deadline); });
}

TSessionBusProbe::~TSessionBusProbe() { Settle(); }

bool TSessionBusProbe::Settle()
{
    if (FThread.joinable())
        FThread.join();
    if (FAnswer != Silent || FSettled)
        return FAnswer != Silent;
    FSettled = true;
    // A path that can never be a socket: libdbus gives up on it at once.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null/no-session-bus", 1);
    std::fprintf(stderr, "MVKubrin: der Sitzungsbus antwortet nicht, Bildschirmleser erreichen das Spiel nicht.\n");
    return false;
}
