#include "SoundServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdlib>

namespace {

QString RecordingFile(const QString& folder) { return folder + QStringLiteral("/recording.raw"); }

// Waits without an event loop of its own: the caller's timers stay queued.
bool WaitFor(int milliseconds, const auto& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QThread::msleep(10);
    }
    return true;
}

} // namespace

TSoundServer::TSoundServer()
{
    if (!FFolder.isValid()) {
        FFailure = QStringLiteral("no temporary folder");
        return;
    }
    Start();
}

void TSoundServer::Start()
{
    FFailure.clear();
    const QString socket = FFolder.path() + QStringLiteral("/native");
    QFile::remove(socket);
    FServer.setProcessEnvironment(Environment());
    FServer.setProcessChannelMode(QProcess::MergedChannels);
    FServer.setStandardOutputFile(FFolder.filePath(QStringLiteral("server.log")));
    // In the foreground, never leaving on its own, loading only what the
    // tests need, whoever runs them (root included). The sink never rewrites
    // what it has mixed ahead: its monitor cannot take back samples already
    // recorded, so a new sound's start would be missing from the recording.
    FServer.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                   QStringLiteral("--use-pid-file=false"), QStringLiteral("--log-target=stderr"),
                   QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=null norewinds=1"), QStringLiteral("-L"),
                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + FFolder.path()
                       + QStringLiteral("/native")});
    if (!FServer.waitForStarted(5000)) {
        FFailure = QStringLiteral("pulseaudio does not start: ") + FServer.errorString();
        return;
    }
    if (!WaitFor(10000, [&] { return QFileInfo(socket).exists() || FServer.state() == QProcess::NotRunning; })
        || FServer.state() == QProcess::NotRunning) {
        QFile log(FFolder.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        FFailure = QStringLiteral("pulseaudio did not open its socket: ") + QString::fromLocal8Bit(log.readAll());
    }
}

TSoundServer::~TSoundServer()
{
    Stop();
}

void TSoundServer::Stop()
{
    for (QProcess* process : {&FRecorder, &FServer}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(2000);
    }
}

QProcessEnvironment TSoundServer::Environment() const
{
    // Cookie, state and runtime files all stay in the temporary folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
        environment.insert(QString::fromLatin1(name), FFolder.path());
    environment.insert(QStringLiteral("PULSE_SERVER"), Address());
    return environment;
}

bool TSoundServer::StartRecording()
{
    const QString file = RecordingFile(FFolder.path());
    QFile::remove(file);
    FRecorder.setProcessEnvironment(Environment());
    FRecorder.setStandardOutputFile(file);
    FRecorder.setStandardErrorFile(FFolder.filePath(QStringLiteral("recorder.log")));
    FRecorder.start(QStringLiteral("parec"),
                    {QStringLiteral("--device=null.monitor"), QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                     QStringLiteral("--channels=1"), QStringLiteral("--rate=%1").arg(RecordingRate),
                     QStringLiteral("--latency-msec=10")});
    if (!FRecorder.waitForStarted(5000))
        return false;
    // The null sink plays silence all the time; once some arrives, the
    // recording has begun.
    return WaitFor(5000, [&] { return QFileInfo(file).size() > 0; });
}

std::vector<std::int16_t> TSoundServer::StopRecording(int tailMs)
{
    const QString file = RecordingFile(FFolder.path());
    const qint64 until = QFileInfo(file).size() + qint64(RecordingRate) * 2 * tailMs / 1000;
    WaitFor(10000, [&] { return QFileInfo(file).size() >= until; });
    FRecorder.terminate();
    if (!FRecorder.waitForFinished(5000)) {
        FRecorder.kill();
        FRecorder.waitForFinished(2000);
    }
    QFile recording(file);
    std::vector<std::int16_t> samples;
    if (!recording.open(QIODevice::ReadOnly))
        return samples;
    const QByteArray bytes = recording.readAll();
    samples.resize(std::size_t(bytes.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::uint8_t(bytes[qsizetype(2 * i)]) | std::uint8_t(bytes[qsizetype(2 * i + 1)]) << 8);
    return samples;
}

int CountOnsets(const std::vector<std::int16_t>& samples, int rate, int quietMs)
{
    // About -30 dBFS: far above the resampler's noise, far below a click.
    constexpr int Level = 1000;
    const std::size_t quietNeeded = std::size_t(rate) * std::size_t(quietMs) / 1000;
    std::size_t quiet = quietNeeded;
    int onsets = 0;
    for (std::int16_t sample : samples) {
        if (std::abs(int(sample)) < Level) {
            ++quiet;
            continue;
        }
        if (quiet >= quietNeeded)
            ++onsets;
        quiet = 0;
    }
    return onsets;
}
