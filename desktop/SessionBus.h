#pragma once

#include <atomic>
#include <string>
#include <thread>

// Qt's accessibility bridge connects to the session bus on the interface
// thread the first time a widget changes, and waits for the bus to answer:
// a bus that accepts and never answers held the first window back for
// minutes. So whether the bus answers is asked beside the start-up, on a
// thread of its own, and a bus that stays silent is put out of the
// program's reach before the first window is built: the game then runs
// without screen-reader access, which such a bus could not give anyway.
class TSessionBusProbe {
public:
    // Starts asking; the answer is awaited for at most the seconds given,
    // counted from now.
    explicit TSessionBusProbe(double seconds = 2.0);
    ~TSessionBusProbe();

    // Waits for the answer (or the end of the time) and, without one, makes
    // every later use of the session bus fail at once. True if it answered
    // or was not asked.
    bool Settle();

private:
    std::thread FThread;
    std::atomic<int> FAnswer{0};
    bool FSettled = false;
};

// The socket that the session bus address names, as libdbus would reach it:
// a path, or an abstract name started by a zero byte; empty when the bus is
// reached some other way (a launcher, TCP) or not at all.
std::string SessionBusSocket(const char* address, const char* runtimeFolder);
