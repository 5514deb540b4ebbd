#include "SocketWatch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

namespace {

constexpr std::uint32_t Appearing = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

} // namespace

TSocketWatch::TSocketWatch(const std::vector<std::string>& sockets)
{
    if (sockets.empty())
        return;
    FNotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FNotify < 0)
        return;
    for (const std::string& socket : sockets) {
        TFolder folder{.Path = FolderOf(socket), .Socket = NameOf(socket)};
        folder.ParentWatch = inotify_add_watch(FNotify, FolderOf(folder.Path).c_str(), Appearing);
        folder.FolderWatch = inotify_add_watch(FNotify, folder.Path.c_str(), Appearing);
        FFolders.push_back(std::move(folder));
    }
}

TSocketWatch::~TSocketWatch()
{
    if (FNotify >= 0)
        close(FNotify);
}

bool TSocketWatch::SocketAppeared()
{
    alignas(inotify_event) char buffer[4096];
    bool appeared = false;
    for (;;) {
        const ssize_t got = read(FNotify, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            const std::string name = event->len ? event->name : "";
            // Events lost to a full queue may have been the socket's.
            if (event->wd < 0) {
                appeared = appeared || (event->mask & IN_Q_OVERFLOW);
                continue;
            }
            for (TFolder& folder : FFolders) {
                if (event->wd == folder.FolderWatch && (event->mask & IN_IGNORED)) {
                    folder.FolderWatch = -1;
                } else if (event->wd == folder.FolderWatch && name == folder.Socket) {
                    appeared = true;
                } else if (event->wd == folder.ParentWatch && name == NameOf(folder.Path)) {
                    folder.FolderWatch = inotify_add_watch(FNotify, folder.Path.c_str(), Appearing);
                    // The socket may have come before the watch did.
                    struct stat status {};
                    appeared = appeared || stat((folder.Path + "/" + folder.Socket).c_str(), &status) == 0;
                }
            }
        }
    }
    return appeared;
}
