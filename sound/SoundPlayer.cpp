#include "SoundPlayer.h"

#include "ServerSockets.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop-api.h>
#include <pulse/scache.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace {

// Newer servers take higher rates; the reader's own limits stay within
// what every server takes.
static_assert(TWave::MaxChannels <= PA_CHANNELS_MAX && TWave::MaxRate <= PA_RATE_MAX,
              "the wave reader passes what the server refuses");

// Trying again after a failure waits twice as long each time, up to this.
constexpr int MaxRetryMs = 30000;
// Once a server's socket appears, the server may not listen on it yet for a
// moment; the attempts after it follow closely.
constexpr int AppearedRetryMs = 100;

pa_sample_format_t ServerFormat(TSampleFormat format)
{
    switch (format) {
    case TSampleFormat::U8: return PA_SAMPLE_U8;
    case TSampleFormat::S16LE: return PA_SAMPLE_S16LE;
    case TSampleFormat::S24LE: return PA_SAMPLE_S24LE;
    case TSampleFormat::S32LE: return PA_SAMPLE_S32LE;
    case TSampleFormat::Float32LE: return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_INVALID;
}

} // namespace

TSoundPlayer::TSoundPlayer(std::string server, int firstRetryMs)
    : FServer(std::move(server)), FFirstRetryMs(firstRetryMs),
      FSockets(ServerSockets(FServer, TSoundEnvironment::OfProcess())), FRetryMs(firstRetryMs)
{
    FWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FLoop = pa_threaded_mainloop_new();
    if (FWake >= 0 && FLoop && Start())
        return;
    if (FLoop)
        pa_threaded_mainloop_free(FLoop);
    FLoop = nullptr;
    std::fprintf(stderr, "MVKubrin: keine Tonausgabe möglich, das Spiel bleibt still.\n");
    FToldSilent = true;
}

bool TSoundPlayer::Start()
{
    FApi = pa_threaded_mainloop_get_api(FLoop);
    // Set up before the thread runs, so without its lock; from here on only
    // the player's thread touches the connection.
    FWakeEvent = FApi->io_new(
        FApi, FWake, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int fd, pa_io_event_flags_t, void* self) {
            std::uint64_t count;
            while (read(fd, &count, sizeof count) < 0 && errno == EINTR) {
            }
            static_cast<TSoundPlayer*>(self)->Woken();
        },
        this);
    // The kernel tells the thread when a socket appears.
    if (FSockets.Handle() >= 0)
        FNotifyEvent = FApi->io_new(
            FApi, FSockets.Handle(), PA_IO_EVENT_INPUT,
            [](pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* self) {
                auto* player = static_cast<TSoundPlayer*>(self);
                if (player->FSockets.SocketAppeared())
                    player->ServerAppeared();
            },
            this);
    pa_mainloop_api_once(
        FApi, [](pa_mainloop_api*, void* self) { static_cast<TSoundPlayer*>(self)->Connect(); }, this);
    pa_threaded_mainloop_set_name(FLoop, "mvk-sound");
    if (pa_threaded_mainloop_start(FLoop) == 0)
        return true;
    FApi->io_free(FWakeEvent);
    if (FNotifyEvent)
        FApi->io_free(FNotifyEvent);
    return false;
}

TSoundPlayer::~TSoundPlayer()
{
    if (FLoop) {
        // The thread only ever runs short callbacks with the lock held, so
        // stopping it does not wait on the server.
        pa_threaded_mainloop_stop(FLoop);
        Disconnect();
        if (FRetry)
            FApi->time_free(FRetry);
        FApi->io_free(FWakeEvent);
        if (FNotifyEvent)
            FApi->io_free(FNotifyEvent);
        pa_threaded_mainloop_free(FLoop);
    }
    if (FWake >= 0)
        close(FWake);
}

int TSoundPlayer::Add(const std::string& path)
{
    const int sound = FCount.load(std::memory_order_relaxed);
    if (sound >= MaxSounds)
        return -1;
    FSounds[std::size_t(sound)].Path = path;
    FSounds[std::size_t(sound)].Player = this;
    FCount.store(sound + 1, std::memory_order_release);
    const std::uint64_t one = 1;
    if (FWake >= 0)
        [[maybe_unused]] const ssize_t written = write(FWake, &one, sizeof one);
    return sound;
}

void TSoundPlayer::Play(int sound)
{
    if (sound < 0 || sound >= FCount.load(std::memory_order_relaxed) || !Ready())
        return;
    FSounds[std::size_t(sound)].PlayRequested.store(true, std::memory_order_release);
    // Never blocks: at worst the counter is full, and the thread is awake
    // already.
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(FWake, &one, sizeof one);
}

void TSoundPlayer::Connect()
{
    pa_context* context = pa_context_new(FApi, "MVKubrin");
    if (!context) {
        ConnectionLost("kein Speicher");
        return;
    }
    FContext = context;
    pa_context_set_state_callback(context, ContextState, this);
    // No server of our own: a player without one wants silence, not a
    // daemon started behind their back.
    const char* server = FServer.empty() ? nullptr : FServer.c_str();
    if (pa_context_connect(context, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0 && FContext == context)
        ConnectionLost(pa_strerror(pa_context_errno(context)));
}

void TSoundPlayer::ServerAppeared()
{
    if (FReady.load(std::memory_order_acquire))
        return;
    FRetryMs = AppearedRetryMs;
    // An attempt under way that fails now tries again soon.
    if (FContext)
        return;
    if (FRetry) {
        FApi->time_free(FRetry);
        FRetry = nullptr;
    }
    Connect();
}

void TSoundPlayer::ContextState(pa_context* context, void* self)
{
    auto* player = static_cast<TSoundPlayer*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        player->FRetryMs = player->FFirstRetryMs;
        player->FWasReady = true;
        player->FReady.store(true, std::memory_order_release);
        player->LoadAndStore();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        player->ConnectionLost(pa_strerror(pa_context_errno(context)));
        break;
    default:
        break;
    }
}

void TSoundPlayer::ConnectionLost(const char* reason)
{
    FReady.store(false, std::memory_order_release);
    Disconnect();
    for (TSound& sound : FSounds)
        sound.Stored = false;
    CountStored();
    // One line when the game falls silent, not one per attempt or sound.
    if (FWasReady)
        std::fprintf(stderr, "MVKubrin: Tonausgabe unterbrochen (%s), die Klicks setzen aus.\n", reason);
    else if (!FToldSilent)
        std::fprintf(stderr, "MVKubrin: keine Tonausgabe (%s), das Spiel bleibt still.\n", reason);
    FWasReady = false;
    FToldSilent = true;
    RetryLater();
}

void TSoundPlayer::RetryLater()
{
    timeval when;
    pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(FRetryMs) * PA_USEC_PER_MSEC);
    FRetryMs = std::min(FRetryMs * 2, MaxRetryMs);
    if (FRetry) {
        FApi->time_restart(FRetry, &when);
        return;
    }
    FRetry = FApi->time_new(
        FApi, &when,
        [](pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self) {
            auto* player = static_cast<TSoundPlayer*>(self);
            api->time_free(event);
            player->FRetry = nullptr;
            player->Connect();
        },
        this);
}

void TSoundPlayer::Woken()
{
    LoadAndStore();
    const bool ready = FReady.load(std::memory_order_acquire);
    const int count = FCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        TSound& sound = FSounds[std::size_t(i)];
        if (!sound.PlayRequested.exchange(false, std::memory_order_acquire) || !ready || !sound.Stored)
            continue;
        if (pa_operation* play =
                pa_context_play_sample(FContext, sound.Click.Name.c_str(), nullptr, PA_VOLUME_INVALID, PlayDone, this)) {
            pa_operation_unref(play);
            FPlaysSent.fetch_add(1, std::memory_order_relaxed);
        }
    }
}

void TSoundPlayer::PlayDone(pa_context*, int success, void* self)
{
    if (success)
        static_cast<TSoundPlayer*>(self)->FPlaysConfirmed.fetch_add(1, std::memory_order_relaxed);
}

void TSoundPlayer::LoadAndStore()
{
    const bool ready = FReady.load(std::memory_order_acquire);
    const int count = FCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        TSound& sound = FSounds[std::size_t(i)];
        // A missing or unreadable file plays nothing, as with no sound at all.
        if (sound.Load == TLoad::Waiting) {
            std::optional<TClick> click = ReadClick(sound.Path);
            sound.Load = click ? TLoad::Loaded : TLoad::Unusable;
            if (click)
                sound.Click = std::move(*click);
        }
        if (ready && sound.Load == TLoad::Loaded && !sound.Stored && !sound.Upload)
            Store(sound);
    }
}

void TSoundPlayer::Store(TSound& sound)
{
    const pa_sample_spec samples{.format = ServerFormat(sound.Click.Wave.Format),
                                 .rate = sound.Click.Wave.Rate,
                                 .channels = std::uint8_t(sound.Click.Wave.Channels)};
    pa_stream* upload = pa_stream_new(FContext, sound.Click.Name.c_str(), &samples, nullptr);
    if (!upload) {
        sound.Load = TLoad::Unusable;
        return;
    }
    sound.Upload = upload;
    sound.Sent = 0;
    pa_stream_set_state_callback(upload, UploadState, &sound);
    pa_stream_set_write_callback(upload, UploadWrite, &sound);
    if (pa_stream_connect_upload(upload, sound.Click.Wave.Data.size()) < 0) {
        pa_stream_set_state_callback(upload, nullptr, nullptr);
        pa_stream_set_write_callback(upload, nullptr, nullptr);
        pa_stream_unref(upload);
        sound.Upload = nullptr;
        sound.Load = TLoad::Unusable;
    }
}

void TSoundPlayer::UploadWrite(pa_stream* stream, std::size_t length, void* data)
{
    auto& sound = *static_cast<TSound*>(data);
    const std::vector<std::uint8_t>& samples = sound.Click.Wave.Data;
    const std::size_t now = std::min(length, samples.size() - sound.Sent);
    if (now > 0 && pa_stream_write(stream, samples.data() + sound.Sent, now, nullptr, 0, PA_SEEK_RELATIVE) == 0)
        sound.Sent += now;
    if (sound.Sent == samples.size()) {
        pa_stream_set_write_callback(stream, nullptr, nullptr);
        pa_stream_finish_upload(stream);
    }
}

void TSoundPlayer::UploadState(pa_stream* stream, void* data)
{
    auto& sound = *static_cast<TSound*>(data);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state != PA_STREAM_TERMINATED && state != PA_STREAM_FAILED)
        return;
    // A finished upload ends the stream; the sound now lives in the server.
    sound.Stored = state == PA_STREAM_TERMINATED && sound.Sent == sound.Click.Wave.Data.size();
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_unref(stream);
    sound.Upload = nullptr;
    sound.Player->CountStored();
}

void TSoundPlayer::CountStored()
{
    int stored = 0;
    for (const TSound& sound : FSounds)
        stored += sound.Stored ? 1 : 0;
    FStoredCount.store(stored, std::memory_order_release);
}

void TSoundPlayer::Disconnect()
{
    for (TSound& sound : FSounds) {
        if (!sound.Upload)
            continue;
        pa_stream_set_state_callback(sound.Upload, nullptr, nullptr);
        pa_stream_set_write_callback(sound.Upload, nullptr, nullptr);
        pa_stream_disconnect(sound.Upload);
        pa_stream_unref(sound.Upload);
        sound.Upload = nullptr;
    }
    if (!FContext)
        return;
    pa_context_set_state_callback(FContext, nullptr, nullptr);
    pa_context_disconnect(FContext);
    pa_context_unref(FContext);
    FContext = nullptr;
}
