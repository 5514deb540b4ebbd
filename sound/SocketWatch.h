#pragma once

#include <string>
#include <vector>

// Tells when one of a sound server's sockets appears, so that waiting for a
// server costs nothing while none comes: the kernel wakes the waiting thread.
// It watches each socket's folder, and the folder above it, where a server
// that starts for the first time makes the folder too.
class TSocketWatch {
public:
    explicit TSocketWatch(const std::vector<std::string>& sockets);
    ~TSocketWatch();
    TSocketWatch(const TSocketWatch&) = delete;
    TSocketWatch& operator=(const TSocketWatch&) = delete;

    // Becomes readable when something changed in a watched folder; -1 when
    // nothing is watched.
    int Handle() const { return FNotify; }
    // Takes what changed, without waiting: whether a socket may have appeared.
    bool SocketAppeared();

private:
    struct TFolder {
        std::string Path;
        std::string Socket;
        int FolderWatch = -1;
        int ParentWatch = -1;
    };

    int FNotify = -1;
    std::vector<TFolder> FFolders;
};
