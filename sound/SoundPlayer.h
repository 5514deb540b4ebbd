#pragma once

#include "ClickFile.h"
#include "SocketWatch.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

struct pa_context;
struct pa_io_event;
struct pa_mainloop_api;
struct pa_stream;
struct pa_threaded_mainloop;
struct pa_time_event;

// Short sounds through the sound server, made for key clicks: each sound is
// read once and stored in the server, and a click only asks the server to
// play it. Everything that can wait - connecting, reading the files, storing
// them, a server that hangs, goes away or appears later - happens on the
// player's own thread. The calling thread never waits: a click asked for
// while the server is not ready is dropped, never kept to sound late.
// Without a server the player prints one line and stays silent. It watches
// the folder where the server's socket appears, so that clicks come back as
// soon as a server starts or restarts, and otherwise tries again now and then.
//
// Add and Play belong to one thread, the interface thread.
class TSoundPlayer {
public:
    static constexpr int MaxSounds = 8;

    // Starts the player's thread, which connects to the given server, or
    // when none is given to the user's (or the one the environment names).
    // After a failure it tries again after firstRetryMs, then twice as long
    // each time, unless a server's socket appears first.
    explicit TSoundPlayer(std::string server = {}, int firstRetryMs = 1000);
    ~TSoundPlayer();
    TSoundPlayer(const TSoundPlayer&) = delete;
    TSoundPlayer& operator=(const TSoundPlayer&) = delete;

    // Reads a wave file on the player's thread and stores it in the server.
    // Returns its number for Play, or -1 when MaxSounds are taken.
    int Add(const std::string& path);
    // Plays an added sound now, or not at all.
    void Play(int sound);
    // Whether clicks sound now: connected, and the server answers.
    bool Ready() const { return FReady.load(std::memory_order_acquire); }

    // How many added sounds the server holds, ready to play.
    int SoundsStored() const { return FStoredCount.load(std::memory_order_acquire); }

    // Counters for tests and measurements: plays asked of the server, and
    // those it confirmed. Read from any thread.
    std::uint64_t PlaysSent() const { return FPlaysSent.load(std::memory_order_relaxed); }
    std::uint64_t PlaysConfirmed() const { return FPlaysConfirmed.load(std::memory_order_relaxed); }

private:
    enum class TLoad : std::uint8_t { Waiting, Loaded, Unusable };

    struct TSound {
        std::string Path;
        std::atomic<bool> PlayRequested{false};
        // Only the player's thread touches what follows.
        TLoad Load = TLoad::Waiting;
        TClick Click;
        bool Stored = false;
        pa_stream* Upload = nullptr;
        std::size_t Sent = 0;
        TSoundPlayer* Player = nullptr;
    };

    // Sets up the thread's events and starts it; false when it cannot run.
    bool Start();
    void Connect();
    void ServerAppeared();
    void ConnectionLost(const char* reason);
    void RetryLater();
    void Woken();
    void LoadAndStore();
    void Store(TSound& sound);
    // Ends the uploads under way and the connection.
    void Disconnect();
    void CountStored();

    static void ContextState(pa_context* context, void* self);
    static void UploadState(pa_stream* stream, void* sound);
    static void UploadWrite(pa_stream* stream, std::size_t length, void* sound);
    static void PlayDone(pa_context* context, int success, void* self);

    const std::string FServer;
    const int FFirstRetryMs;
    pa_threaded_mainloop* FLoop = nullptr;
    pa_mainloop_api* FApi = nullptr;
    pa_context* FContext = nullptr;
    pa_io_event* FWakeEvent = nullptr;
    pa_time_event* FRetry = nullptr;
    pa_io_event* FNotifyEvent = nullptr;
    int FWake = -1;
    TSocketWatch FSockets;
    int FRetryMs = 0;
    bool FToldSilent = false;
    bool FWasReady = false;

    std::array<TSound, MaxSounds> FSounds;
    std::atomic<int> FCount{0};
    std::atomic<bool> FReady{false};
    std::atomic<int> FStoredCount{0};
    std::atomic<std::uint64_t> FPlaysSent{0};
    std::atomic<std::uint64_t> FPlaysConfirmed{0};
};
