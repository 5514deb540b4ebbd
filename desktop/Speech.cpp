#include "Speech.h"

#include "Announcer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

TSpeaker* ReplacedSpeaker = nullptr;

double SecondsSince(const timespec& then)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - then.tv_sec) + double(now.tv_nsec - then.tv_nsec) / 1e9;
}

bool Due(timespec& looked, double interval)
{
    if (looked.tv_sec != 0 && SecondsSince(looked) < interval)
        return false;
    clock_gettime(CLOCK_MONOTONIC, &looked);
    return true;
}

// Reads a small file below a folder into the buffer, ended by a zero byte;
// the length read, or -1.
ssize_t ReadAt(int folder, const char* path, char* buffer, size_t size)
{
    const int file = openat(folder, path, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return -1;
    size_t length = 0;
    while (length + 1 < size) {
        const ssize_t got = read(file, buffer + length, size - 1 - length);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        length += size_t(got);
    }
    close(file);
    buffer[length] = 0;
    return ssize_t(length);
}

// Where the speech server listens, as its own client library looks for it:
// the address it was given, else its socket in the user's runtime folder.
QByteArray ServerSocket()
{
    const QByteArray address = qgetenv("SPEECHD_ADDRESS");
    const QByteArray unixSocket("unix_socket:");
    if (address.startsWith(unixSocket))
        return address.mid(unixSocket.size());
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        runtime = QDir::homePath().toLocal8Bit() + "/.cache";
    return runtime + "/speech-dispatcher/speechd.sock";
}

// What tells a file's change: its time, size and inode; zeros without it.
void Stamp(const QString& path, long long stamp[4])
{
    struct stat file{};
    if (stat(path.toLocal8Bit().constData(), &file) != 0)
        file = {};
    stamp[0] = file.st_mtim.tv_sec;
    stamp[1] = file.st_mtim.tv_nsec;
    stamp[2] = file.st_size;
    stamp[3] = (long long)file.st_ino;
}

int Clamp(double value, int low, int high) { return int(std::clamp(value, double(low), double(high))); }

} // namespace

TSpeaker& Speaker()
{
    if (ReplacedSpeaker)
        return *ReplacedSpeaker;
#if MVK_ANNOUNCEMENTS
    static TAnnouncer* const Announcer = new TAnnouncer;
    return *Announcer;
#else
    static TSpeechDispatcher* const Dispatcher = new TSpeechDispatcher;
    return *Dispatcher;
#endif
}

TSpeaker* SetSpeaker(TSpeaker* speaker) { return std::exchange(ReplacedSpeaker, speaker); }

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
        stopped.wait_for(lock, stop, std::chrono::seconds(2), [] { return false; });
    }
}

pid_t TScreenReaderWatch::Look(pid_t before) const
{
    // The reader found before is asked first: one process, not all of them.
    if (before > 0) {
        const int folder = open(FProcesses.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        char pid[16];
        std::snprintf(pid, sizeof pid, "%d", int(before));
        const bool still = folder >= 0 && IsReader(folder, pid);
        if (folder >= 0)
            close(folder);
        if (still)
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
    const int file = openat(folder, path, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    bool same = false;
    size_t kept = 0;
    for (;;) {
        const ssize_t got = read(file, text + kept, sizeof text - kept);
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
    close(file);
    return same;
}

pid_t TScreenReaderWatch::Find() const
{
    // Without a bus or a display no screen reader can read our windows.
    if (FSession.isEmpty())
        return 0;
    const int folder = open(FProcesses.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0;
    // The entries are read with the system call itself, into a buffer here:
    // the C library's reader would allocate one.
    alignas(8) char entries[8192];
    pid_t found = 0;
    for (;;) {
        const long got = syscall(SYS_getdents64, folder, entries, sizeof entries);
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
            if (entry->Name[0] >= '1' && entry->Name[0] <= '9' && IsReader(folder, entry->Name))
                found = pid_t(std::atoi(entry->Name));
        }
        if (found != 0)
            break;
    }
    close(folder);
    return found;
}

TReaderVoice TReaderVoice::FromSettings(const QByteArray& json)
{
    TReaderVoice voice;
    const QJsonObject settings = QJsonDocument::fromJson(json).object();
    if (!settings.value(QLatin1String("general")).isObject())
        return voice;
    // Orca takes the general settings and lets its starting profile's own
    // replace them, key by key.
    QJsonObject general = settings.value(QLatin1String("general")).toObject();
    const QJsonArray starting = general.value(QLatin1String("startingProfile")).toArray();
    const QString profileName = starting.size() == 2 ? starting.at(1).toString() : QStringLiteral("default");
    const QJsonObject profile =
        settings.value(QLatin1String("profiles")).toObject().value(profileName).toObject();
    for (auto key = profile.begin(); key != profile.end(); ++key)
        general.insert(key.key(), key.value());
    voice.Read = true;

    const QJsonArray server = general.value(QLatin1String("speechServerInfo")).toArray();
    const QString serverId = server.size() == 2 ? server.at(1).toString() : QString();
    if (!serverId.isEmpty() && serverId != QLatin1String("default"))
        voice.OutputModule = serverId.toUtf8();

    // What Orca sends for a voice without a value of its own.
    const QJsonObject spoken = general.value(QLatin1String("voices")).toObject().value(QLatin1String("default")).toObject();
    voice.Rate = 2 * Clamp(spoken.value(QLatin1String("rate")).toDouble(50), 0, 99) - 98;
    voice.Pitch = int(20 * std::clamp(spoken.value(QLatin1String("average-pitch")).toDouble(5.0), 0.0, 9.0) - 90);
    voice.Volume = int(15 * std::clamp(spoken.value(QLatin1String("gain")).toDouble(10.0), 0.0, 9.0) - 35);

    // The phrases are German: the reader's language and voice are taken when
    // they are German, while a voice of another language would garble them.
    const QJsonObject family = spoken.value(QLatin1String("family")).toObject();
    const QString language = family.value(QLatin1String("lang")).toString();
    const QString dialect = family.value(QLatin1String("dialect")).toString();
    if (language == QLatin1String("de")) {
        voice.Language = dialect.isEmpty() ? QByteArray("de") : ("de-" + dialect.toUtf8());
        const QString name = family.value(QLatin1String("name")).toString();
        // Orca's stand-in for the module's own voice is named after the module.
        if (!name.isEmpty() && (serverId.isEmpty() || !name.contains(serverId)))
            voice.Voice = name.toUtf8();
    }
    return voice;
}

QByteArray TReaderVoice::Commands() const
{
    if (!Read)
        return {};
    QByteArray commands;
    // A line is one command; a value with a line break in it would be a second one.
    const auto line = [&commands](const char* command, const QByteArray& value) {
        if (!value.isEmpty() && !value.contains('\r') && !value.contains('\n'))
            commands += command + value + "\r\n";
    };
    line("SET self OUTPUT_MODULE ", OutputModule);
    line("SET self LANGUAGE ", Language);
    line("SET self SYNTHESIS_VOICE ", Voice);
    line("SET self RATE ", QByteArray::number(Rate));
    line("SET self PITCH ", QByteArray::number(Pitch));
    line("SET self VOLUME ", QByteArray::number(Volume));
    return commands;
}

TSpeechDispatcher::TSpeechDispatcher() : FServer(ServerSocket()) {}

TSpeechDispatcher::~TSpeechDispatcher() { Disconnect(); }

QString TSpeechDispatcher::SettingsFile(pid_t reader) const
{
    // The folder Orca was told with -u or --user-prefs, else its own under
    // the user's data folder. Every argument ends with a zero byte; one cut
    // short by the end of the buffer is not taken.
    char path[32];
    std::snprintf(path, sizeof path, "/proc/%d/cmdline", int(reader));
    char arguments[8192];
    const ssize_t length = ReadAt(AT_FDCWD, path, arguments, sizeof arguments);
    const char* option = "";
    for (ssize_t at = 0; at < length;) {
        const char* argument = arguments + at;
        at += ssize_t(std::strlen(argument)) + 1;
        if (at > length)
            break;
        const char* folder = "";
        if (std::strcmp(option, "-u") == 0 || std::strcmp(option, "--user-prefs") == 0)
            folder = argument;
        else if (std::strncmp(argument, "--user-prefs=", 13) == 0)
            folder = argument + 13;
        if (*folder)
            return QString::fromLocal8Bit(folder) + QStringLiteral("/user-settings.conf");
        option = argument;
    }
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/orca/user-settings.conf");
}

bool TSpeechDispatcher::SettingsChanged()
{
    if (!Due(FSettingsLooked, 1.0))
        return false;
    long long seen[4];
    Stamp(FSettings, seen);
    return !std::equal(seen, seen + 4, FSettingsSeen);
}

bool TSpeechDispatcher::Connect(pid_t reader)
{
    FReader = reader;
    FSettings = SettingsFile(reader);
    Stamp(FSettings, FSettingsSeen);
    clock_gettime(CLOCK_MONOTONIC, &FSettingsLooked);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A local socket connects at once or not at all; one that would make us
    // wait counts as not answering.
    if (size_t(FServer.size()) >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
    } else {
        std::memcpy(address.sun_path, FServer.constData(), size_t(FServer.size()));
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            FSocket = fd;
            FOutageReported = false;
            FAnswers = new QSocketNotifier(fd, QSocketNotifier::Read, this);
            // The server's answers are not needed; reading them keeps its
            // side of the socket from filling up.
            connect(FAnswers, &QSocketNotifier::activated, this, [this] {
                char answers[1024];
                const ssize_t got = read(FSocket, answers, sizeof answers);
                if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                    Disconnect();
            });
            QFile settings(FSettings);
            QByteArray voice;
            if (settings.open(QIODevice::ReadOnly) && settings.size() < 1 << 20)
                voice = TReaderVoice::FromSettings(settings.readAll()).Commands();
            const QByteArray hello = "SET self CLIENT_NAME user:MVKubrin:game\r\nSET self LANGUAGE de\r\n"
                                     "SET self PRIORITY message\r\n"
                                     + voice;
            return Write(hello.constData(), size_t(hello.size()));
        }
    }
    const int error = errno;
    close(fd);
    if (!FOutageReported)
        std::fprintf(stderr, "MVKubrin: kein Sprachserver unter %s (%s), das Spiel spricht nicht.\n",
                     FServer.constData(), std::strerror(error));
    FOutageReported = true;
    return false;
}

void TSpeechDispatcher::Disconnect()
{
    delete FAnswers;
    FAnswers = nullptr;
    if (FSocket >= 0)
        close(FSocket);
    FSocket = -1;
}

bool TSpeechDispatcher::Write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t sent = send(FSocket, data, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0) {
            // A server that reads nothing more is as good as gone.
            Disconnect();
            return false;
        }
        data += sent;
        size -= size_t(sent);
    }
    return true;
}

void TSpeechDispatcher::Say(const char* text, TUrgency urgency)
{
    if (!*text)
        return;
    const pid_t reader = FWatch.Running();
    if (reader == 0) {
        Disconnect();
        return;
    }
    // A voice changed in the screen reader is taken on a new connection.
    if (FSocket >= 0 && (reader != FReader || SettingsChanged()))
        Disconnect();
    if (FSocket < 0 && !Connect(reader))
        return;
    Send(text, urgency);
}

void TSpeechDispatcher::Send(const char* text, TUrgency urgency)
{
    // Every phrase has the screen reader's own priority, so that its echo
    // of a key neither cancels the answer nor is cancelled by it; the
    // newest move cuts only the game's own phrase before it. The protocol
    // ends a message with a line holding a single dot; a phrase is one line
    // and never starts with one.
    char message[64];
    const int length = std::snprintf(message, sizeof message, "%sSPEAK\r\n", urgency == TUrgency::Replace ? "CANCEL self\r\n" : "");
    if (!Write(message, size_t(length)))
        return;
    const size_t size = std::strlen(text);
    if (!Write(text, size))
        return;
    Write("\r\n.\r\n", 5);
}
