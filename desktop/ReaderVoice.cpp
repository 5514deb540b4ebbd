#include "ReaderVoice.h"

#include "SmallFile.h"
#include "WholeFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

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

// What tells a file's change: its time, size and inode; zeros without it.
void Stamp(const char* path, long long stamp[4])
{
    struct stat file{};
    if (stat(path, &file) != 0)
        file = {};
    stamp[0] = file.st_mtim.tv_sec;
    stamp[1] = file.st_mtim.tv_nsec;
    stamp[2] = file.st_size;
    stamp[3] = (long long)file.st_ino;
}

int Clamp(double value, int low, int high) { return int(std::clamp(value, double(low), double(high))); }

} // namespace

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

QByteArray TReaderSettings::File(pid_t reader)
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
            return QByteArray(folder) + "/user-settings.conf";
        option = argument;
    }
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath().toLocal8Bit() + "/.local/share";
    return data + "/orca/user-settings.conf";
}

void TReaderSettings::Take(pid_t reader)
{
    FPath = File(reader);
    Stamp(FPath.constData(), FTaken);
    clock_gettime(CLOCK_MONOTONIC, &FLooked);
}

TReaderVoice TReaderSettings::Voice() const
{
    // Guarded as the game's own files are: a pipe in its place does not hold
    // the game up, and a huge file is not read.
    const TWholeFile settings = ReadWholeFile(FPath.constData(), 1 << 20, TLinks::Follow);
    if (settings.Result != TWholeFile::TResult::Complete)
        return {};
    return TReaderVoice::FromSettings(QByteArray::fromStdString(settings.Bytes));
}

bool TReaderSettings::Changed()
{
    if (!Due(FLooked, 1.0))
        return false;
    long long seen[4];
    Stamp(FPath.constData(), seen);
    return !std::equal(seen, seen + 4, FTaken);
}
