#pragma once

#include <QByteArray>

#include <atomic>
#include <stop_token>
#include <thread>

#include <sys/types.h>

// A screen reader of this user that reads this session's windows: a process
// called orca, as Orca itself looks for other copies of it, whose session
// bus (or display, without one) is ours. Another assistive tool that merely
// switched the accessibility bus on is not one. Looks at /proc only, and no
// bus is asked; the looking is done on a thread of its own, so that a phrase
// said during play neither waits for it nor allocates.
class TScreenReaderWatch {
public:
    // The folder of processes and the session to match: the first of the
    // accessibility bus, the session bus and the display that is set here.
    explicit TScreenReaderWatch(const char* processes = "/proc");

    // The screen reader's process id, or 0, as last found. The first call
    // starts the thread, which looks anew every two seconds so that a screen
    // reader started later is found, and waits for its first answer.
    pid_t Running();
    // Looks through the processes here and now.
    pid_t Find() const;

private:
    bool IsReader(int folder, const char* pid) const;
    pid_t Look(pid_t before) const;
    void Watch(std::stop_token stop);

    static constexpr pid_t NotLooked = -1;

    QByteArray FProcesses;
    // "NAME=value" of our session, matched against a process's environment.
    QByteArray FSession;
    std::atomic<pid_t> FPid{NotLooked};
    // Last, so that it is stopped and joined before the fields it reads go.
    std::jthread FWatcher;
};
