#include "SoundPlayer.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop-api.h>
#include <pulse/scache.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// The server keeps no sound larger than this; our clicks are a few KiB.
constexpr std::size_t MaxWaveFile = 4 * 1024 * 1024;
// Trying again after a failure waits twice as long each time, up to this.
constexpr int MaxRetrySeconds = 30;

std::uint32_t Little16(const std::uint8_t* p) { return p[0] | p[1] << 8; }
std::uint32_t Little32(const std::uint8_t* p) { return Little16(p) | Little16(p + 2) << 16; }

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

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    // Not blocking: a pipe in a sound's place must not hold up the thread.
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (file < 0)
        return false;
    struct stat status {};
    const bool regular = fstat(file, &status) == 0 && S_ISREG(status.st_mode) && status.st_size <= off_t(MaxWaveFile);
    if (regular) {
        bytes.resize(std::size_t(status.st_size));
        std::size_t size = 0;
        while (size < bytes.size()) {
            const ssize_t got = read(file, bytes.data() + size, bytes.size() - size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            size += std::size_t(got);
        }
        bytes.resize(size);
    }
    close(file);
    return regular;
}

// A name from the sound's content: every run and every copy of the game
// shares one stored copy of each click instead of piling up new ones.
std::string StoredName(const TWave& wave)
{
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](std::uint8_t byte) {
        hash ^= byte;
        hash *= 1099511628211ull;
    };
    mix(std::uint8_t(wave.Format));
    mix(std::uint8_t(wave.Channels));
    for (int shift = 0; shift < 32; shift += 8)
        mix(std::uint8_t(wave.Rate >> shift));
    for (std::uint8_t byte : wave.Data)
        mix(byte);
    char name[40];
    std::snprintf(name, sizeof name, "mvkubrin-%016" PRIx64, hash);
    return name;
}

} // namespace

bool DecodeWave(const std::vector<std::uint8_t>& file, TWave& wave)
{
    const std::size_t size = file.size();
    const std::uint8_t* bytes = file.data();
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    std::uint32_t tag = 0, bits = 0, blockAlign = 0;
    for (std::size_t at = 12; size - at >= 8;) {
        const std::uint8_t* chunk = bytes + at;
        const std::size_t length = Little32(chunk + 4);
        const std::size_t body = at + 8;
        const std::size_t present = std::min(length, size - body);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (present < 16)
                return false;
            tag = Little16(chunk + 8);
            wave.Channels = int(Little16(chunk + 10));
            wave.Rate = Little32(chunk + 12);
            blockAlign = Little16(chunk + 20);
            bits = Little16(chunk + 22);
            // The extensible header names its real format in the first two
            // bytes of its sub-format.
            if (tag == 0xFFFE && present >= 26)
                tag = Little16(chunk + 8 + 24);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            if (tag == 1 && bits == 8)
                wave.Format = TSampleFormat::U8;
            else if (tag == 1 && bits == 16)
                wave.Format = TSampleFormat::S16LE;
            else if (tag == 1 && bits == 24)
                wave.Format = TSampleFormat::S24LE;
            else if (tag == 1 && bits == 32)
                wave.Format = TSampleFormat::S32LE;
            else if (tag == 3 && bits == 32)
                wave.Format = TSampleFormat::Float32LE;
            else
                return false;
            if (wave.Channels < 1 || wave.Channels > int(PA_CHANNELS_MAX) || wave.Rate < 1 || wave.Rate > PA_RATE_MAX
                || blockAlign != std::uint32_t(wave.Channels) * bits / 8)
                return false;
            const std::size_t whole = present - present % blockAlign;
            if (whole == 0)
                return false;
            wave.Data.assign(bytes + body, bytes + body + whole);
            return true;
        }
        if (length > size - body)
            break;
        at = body + length + (length & 1);
    }
    return false;
}

TSoundPlayer::TSoundPlayer(std::string server)
    : FServer(std::move(server))
{
    FWake = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    FLoop = pa_threaded_mainloop_new();
    if (FWake < 0 || !FLoop) {
        std::fprintf(stderr, "MVKubrin: keine Tonausgabe möglich, das Spiel bleibt still.\n");
        FToldSilent = true;
        return;
    }
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
    pa_mainloop_api_once(
        FApi, [](pa_mainloop_api*, void* self) { static_cast<TSoundPlayer*>(self)->Connect(); }, this);
    pa_threaded_mainloop_set_name(FLoop, "mvk-sound");
    if (pa_threaded_mainloop_start(FLoop) < 0) {
        std::fprintf(stderr, "MVKubrin: keine Tonausgabe möglich, das Spiel bleibt still.\n");
        FToldSilent = true;
        FApi->io_free(FWakeEvent);
        pa_threaded_mainloop_free(FLoop);
        FLoop = nullptr;
    }
}

TSoundPlayer::~TSoundPlayer()
{
    if (FLoop) {
        // The thread only ever runs short callbacks with the lock held, so
        // stopping it does not wait on the server.
        pa_threaded_mainloop_stop(FLoop);
        StopUploads();
        if (FContext) {
            pa_context_set_state_callback(FContext, nullptr, nullptr);
            pa_context_disconnect(FContext);
            pa_context_unref(FContext);
        }
        if (FRetry)
            FApi->time_free(FRetry);
        FApi->io_free(FWakeEvent);
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

void TSoundPlayer::ContextState(pa_context* context, void* self)
{
    auto* player = static_cast<TSoundPlayer*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        player->FRetryDelay = 1;
        player->FWasReady = true;
        player->FReady.store(true, std::memory_order_release);
        player->LoadWaiting();
        player->StoreAll();
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
    StopUploads();
    for (TSound& sound : FSounds)
        sound.Stored = false;
    CountStored();
    if (FContext) {
        pa_context_set_state_callback(FContext, nullptr, nullptr);
        pa_context_disconnect(FContext);
        pa_context_unref(FContext);
        FContext = nullptr;
    }
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
    pa_timeval_add(pa_gettimeofday(&when), pa_usec_t(FRetryDelay) * PA_USEC_PER_SEC);
    FRetryDelay = std::min(FRetryDelay * 2, MaxRetrySeconds);
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
    LoadWaiting();
    const bool ready = FReady.load(std::memory_order_acquire);
    if (ready)
        StoreAll();
    const int count = FCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        TSound& sound = FSounds[std::size_t(i)];
        if (!sound.PlayRequested.exchange(false, std::memory_order_acquire) || !ready || !sound.Stored)
            continue;
        if (pa_operation* play =
                pa_context_play_sample(FContext, sound.Name.c_str(), nullptr, PA_VOLUME_INVALID, PlayDone, this)) {
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

void TSoundPlayer::LoadWaiting()
{
    const int count = FCount.load(std::memory_order_acquire);
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        TSound& sound = FSounds[std::size_t(i)];
        if (sound.Load != TLoad::Waiting)
            continue;
        // A missing or unreadable file plays nothing, as with no sound at all.
        if (ReadFile(sound.Path, bytes) && DecodeWave(bytes, sound.Wave)) {
            sound.Name = StoredName(sound.Wave);
            sound.Load = TLoad::Loaded;
        } else {
            sound.Load = TLoad::Unusable;
        }
    }
}

void TSoundPlayer::StoreAll()
{
    const int count = FCount.load(std::memory_order_acquire);
    for (int i = 0; i < count; ++i) {
        TSound& sound = FSounds[std::size_t(i)];
        if (sound.Load == TLoad::Loaded && !sound.Stored && !sound.Upload)
            Store(sound);
    }
}

void TSoundPlayer::Store(TSound& sound)
{
    const pa_sample_spec samples{.format = ServerFormat(sound.Wave.Format),
                                 .rate = sound.Wave.Rate,
                                 .channels = std::uint8_t(sound.Wave.Channels)};
    pa_stream* upload = pa_stream_new(FContext, sound.Name.c_str(), &samples, nullptr);
    if (!upload) {
        sound.Load = TLoad::Unusable;
        return;
    }
    sound.Upload = upload;
    sound.Sent = 0;
    pa_stream_set_state_callback(upload, UploadState, &sound);
    pa_stream_set_write_callback(upload, UploadWrite, &sound);
    if (pa_stream_connect_upload(upload, sound.Wave.Data.size()) < 0) {
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
    const std::size_t rest = sound.Wave.Data.size() - sound.Sent;
    const std::size_t now = std::min(length, rest);
    if (now > 0 && pa_stream_write(stream, sound.Wave.Data.data() + sound.Sent, now, nullptr, 0, PA_SEEK_RELATIVE) == 0)
        sound.Sent += now;
    if (sound.Sent == sound.Wave.Data.size()) {
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
    sound.Stored = state == PA_STREAM_TERMINATED && sound.Sent == sound.Wave.Data.size();
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

void TSoundPlayer::StopUploads()
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
}
