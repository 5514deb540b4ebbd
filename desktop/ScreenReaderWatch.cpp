#include "ScreenReaderWatch.h"

#include "FileHandle.h"
#include "SmallFile.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

TScreenReaderWatch::TScreenReaderWatch(const char* processes) : FProcesses(processes)
{
    for (const char* name : {"AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const QByteArray value = qgetenv(name);
        if (!value.isEmpty()) {
            FSession = QByteArray(name) + '=' + value;
            break;
        }
    }
}

pid_t TScreenReaderWatch::Running()
{
    // No thread where Find would find nothing.
    if (FSession.isEmpty())
        return 0;
    if (!FWatcher.joinable()) {
        FWatcher = std::jthread([this](std::stop_token stop) { Watch(stop); });
        // The first phrase waits for the first answer rather than go unsaid.
        FPid.wait(NotLooked);
    }
    return FPid.load();
}

void TScreenReaderWatch::Watch(std::stop_token stop)
{
    std::mutex mutex;
    std::condition_variable_any stopped;
    std::unique_lock lock(mutex);
    while (!stop.stop_requested()) {
        FPid.store(Look(FPid.load()));
        FPid.notify_all();
        // Sleeps the interval out, or less when asked to stop.
        stopped.wait_for(lock, stop, std::chrono::seconds(2), [] { return false; });
    }
}

pid_t TScreenReaderWatch::Look(pid_t before) const
{
    // The reader found before is asked first: one process, not all of them.
    if (before > 0) {
        const TFileHandle folder(open(FProcesses.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        char pid[16];
        std::snprintf(pid, sizeof pid, "%d", int(before));
        if (folder.IsOpen() && IsReader(folder.Get(), pid))
            return before;
    }
    return Find();
}

bool TScreenReaderWatch::IsReader(int folder, const char* pid) const
{
    char text[4096];
    char path[64];
    std::snprintf(path, sizeof path, "%s/comm", pid);
    if (ReadAt(folder, path, text, sizeof text) < 0 || std::strcmp(text, "orca\n") != 0)
        return false;
    struct stat owner{};
    if (fstatat(folder, pid, &owner, 0) != 0 || owner.st_uid != getuid())
        return false;
    // The environment is read a piece at a time, each variable ended by a
    // zero byte; a variable cut between two pieces is read again whole.
    std::snprintf(path, sizeof path, "%s/environ", pid);
    const TFileHandle file(openat(folder, path, O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen())
        return false;
    bool same = false;
    size_t kept = 0;
    for (;;) {
        const ssize_t got = read(file.Get(), text + kept, sizeof text - kept);
        if (got <= 0)
            break;
        const size_t length = kept + size_t(got);
        size_t start = 0;
        for (size_t at = 0; at < length && !same; ++at)
            if (text[at] == 0) {
                same = at - start == size_t(FSession.size()) && std::memcmp(text + start, FSession.constData(), at - start) == 0;
                start = at + 1;
            }
        if (same)
            break;
        kept = length - start;
        if (kept == sizeof text)
            kept = 0;
        std::memmove(text, text + start, kept);
    }
    return same;
}

pid_t TScreenReaderWatch::Find() const
{
    // Without a bus or a display no screen reader can read our windows.
    if (FSession.isEmpty())
        return 0;
    const TFileHandle folder(open(FProcesses.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsOpen())
        return 0;
    // The entries are read with the system call itself, into a buffer here:
    // the C library's reader would allocate one.
    alignas(8) char entries[8192];
    pid_t found = 0;
    for (;;) {
        const long got = syscall(SYS_getdents64, folder.Get(), entries, sizeof entries);
        if (got <= 0)
            break;
        for (long at = 0; at < got && found == 0;) {
            struct TEntry {
                ino64_t Inode;
                off64_t Offset;
                unsigned short Length;
                unsigned char Type;
                char Name[1];
            };
            const auto* entry = reinterpret_cast<const TEntry*>(entries + at);
            at += entry->Length;
            if (entry->Name[0] >= '1' && entry->Name[0] <= '9' && IsReader(folder.Get(), entry->Name))
                found = pid_t(std::atoi(entry->Name));
        }
        if (found != 0)
            break;
    }
    return found;
}
