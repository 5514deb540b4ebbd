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
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// The server keeps no sound larger than this; our clicks are a few KiB.
constexpr std::size_t MaxWaveFile = 4 * 1024 * 1024;
// Trying again after a failure waits twice as long each time, up to this.
constexpr int MaxRetryMs = 30000;
// Once a server's socket appears, the server may not listen on it yet for a
// moment; the attempts after it follow closely.
constexpr int AppearedRetryMs = 100;

// PipeWire plays a stored sample only in whole periods of its graph and
// drops what is left of the last one, so a click shorter than a period is
// never heard, and a longer one loses its end. Silence after each sound,
// as long as the largest period at the lowest usual graph rate, makes the
// dropped rest silence only. PulseAudio plays the silence too: each click
// stays in its mixer a fifth of a second longer, a few more inputs to mix
// at the fastest key repeat.
constexpr std::uint32_t LargestPeriod = 8192;
constexpr std::uint32_t LowestGraphRate = 44100;

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

std::size_t SampleBytes(TSampleFormat format)
{
    switch (format) {
    case TSampleFormat::U8: return 1;
    case TSampleFormat::S16LE: return 2;
    case TSampleFormat::S24LE: return 3;
    case TSampleFormat::S32LE:
    case TSampleFormat::Float32LE: return 4;
    }
    return 0;
}

void AddSilence(TWave& wave)
{
    const std::size_t frames = (std::size_t(LargestPeriod) * wave.Rate + LowestGraphRate - 1) / LowestGraphRate;
    const std::uint8_t silence = wave.Format == TSampleFormat::U8 ? 0x80 : 0;
    wave.Data.resize(wave.Data.size() + frames * std::size_t(wave.Channels) * SampleBytes(wave.Format), silence);
}

// The sockets a server of this address listens on, as a file path each;
// none for a server reached over the network.
std::vector<std::string> SocketPaths(std::string server)
{
    if (server.empty()) {
        const char* named = std::getenv("PULSE_SERVER");
        server = named ? named : "";
    }
    std::vector<std::string> paths;
    if (server.empty()) {
        // Where a user's server, PulseAudio or PipeWire's, puts its socket.
        const char* runtime = std::getenv("PULSE_RUNTIME_PATH");
        const char* user = std::getenv("XDG_RUNTIME_DIR");
        if (runtime && *runtime)
            paths.push_back(std::string(runtime) + "/native");
        else if (user && *user)
            paths.push_back(std::string(user) + "/pulse/native");
        return paths;
    }
    // A list of addresses, each perhaps after the machine it belongs to.
    std::size_t at = 0;
    while (at < server.size()) {
        const std::size_t end = std::min(server.find_first_of(" \t", at), server.size());
        std::string address = server.substr(at, end - at);
        at = end + 1;
        if (!address.empty() && address[0] == '{')
            address.erase(0, std::min(address.find('}'), address.size() - 1) + 1);
        if (address.starts_with("unix:"))
            address.erase(0, 5);
        if (address.starts_with("/"))
            paths.push_back(address);
    }
    return paths;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

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

TSoundPlayer::TSoundPlayer(std::string server, int firstRetryMs)
    : FServer(std::move(server)), FFirstRetryMs(firstRetryMs), FRetryMs(firstRetryMs)
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
    WatchSockets();
    pa_mainloop_api_once(
        FApi, [](pa_mainloop_api*, void* self) { static_cast<TSoundPlayer*>(self)->Connect(); }, this);
    pa_threaded_mainloop_set_name(FLoop, "mvk-sound");
    if (pa_threaded_mainloop_start(FLoop) < 0) {
        std::fprintf(stderr, "MVKubrin: keine Tonausgabe möglich, das Spiel bleibt still.\n");
        FToldSilent = true;
        FApi->io_free(FWakeEvent);
        if (FNotifyEvent)
            FApi->io_free(FNotifyEvent);
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
        if (FNotifyEvent)
            FApi->io_free(FNotifyEvent);
        pa_threaded_mainloop_free(FLoop);
    }
    if (FWake >= 0)
        close(FWake);
    if (FNotify >= 0)
        close(FNotify);
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

void TSoundPlayer::WatchSockets()
{
    // The kernel tells the thread when a socket appears, so that waiting for
    // a server costs nothing while none comes.
    const std::vector<std::string> paths = SocketPaths(FServer);
    if (paths.empty())
        return;
    FNotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (FNotify < 0)
        return;
    constexpr std::uint32_t Appearing = IN_CREATE | IN_MOVED_TO | IN_ONLYDIR;
    for (const std::string& path : paths) {
        TSocketWatch watch{.Folder = FolderOf(path), .Socket = NameOf(path)};
        // A server that starts for the first time may make the folder too.
        watch.ParentWatch = inotify_add_watch(FNotify, FolderOf(watch.Folder).c_str(), Appearing);
        watch.FolderWatch = inotify_add_watch(FNotify, watch.Folder.c_str(), Appearing);
        FWatches.push_back(std::move(watch));
    }
    FNotifyEvent = FApi->io_new(
        FApi, FNotify, PA_IO_EVENT_INPUT,
        [](pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* self) {
            static_cast<TSoundPlayer*>(self)->Notified();
        },
        this);
}

void TSoundPlayer::Notified()
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
            for (TSocketWatch& watch : FWatches) {
                if (event->wd == watch.FolderWatch && (event->mask & IN_IGNORED)) {
                    watch.FolderWatch = -1;
                } else if (event->wd == watch.FolderWatch && name == watch.Socket) {
                    appeared = true;
                } else if (event->wd == watch.ParentWatch && name == NameOf(watch.Folder)) {
                    watch.FolderWatch = inotify_add_watch(FNotify, watch.Folder.c_str(),
                                                          IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
                    // The socket may have come before the watch did.
                    struct stat status {};
                    appeared = appeared || stat((watch.Folder + "/" + watch.Socket).c_str(), &status) == 0;
                }
            }
        }
    }
    if (appeared)
        ServerAppeared();
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
            AddSilence(sound.Wave);
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
