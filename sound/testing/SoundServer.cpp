#include "SoundServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <cstdlib>

namespace {

QString RecordingFile(const QString& folder) { return folder + QStringLiteral("/recording.raw"); }

// Above PipeWire's largest period: a recorder that asks for less lowers the
// period of the whole graph, and then plays what a desktop would not.
constexpr int RecordingLatencyMs = 250;

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

TSoundServer::TSoundServer(TKind kind)
    : FKind(kind)
{
    if (!FFolder.isValid()) {
        FFailure = QStringLiteral("no temporary folder");
        return;
    }
    Start();
}

QString TSoundServer::SocketPath() const
{
    // Where PipeWire's PulseAudio service puts it in its runtime folder.
    return FFolder.path() + (FKind == TKind::PipeWire ? QStringLiteral("/pulse/native") : QStringLiteral("/native"));
}

bool TSoundServer::Launch(QProcess& process, const QString& program, const QStringList& arguments,
                          const QString& socket)
{
    const QString log = FFolder.filePath(program + QStringLiteral(".log"));
    process.setProcessEnvironment(Environment());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardOutputFile(log);
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        FFailure = program + QStringLiteral(" does not start: ") + process.errorString();
        return false;
    }
    if (socket.isEmpty())
        return true;
    if (WaitFor(20000, [&] { return QFileInfo::exists(socket) || process.state() == QProcess::NotRunning; })
        && process.state() != QProcess::NotRunning)
        return true;
    QFile output(log);
    (void)output.open(QIODevice::ReadOnly); // without a log, the failure is said without it
    FFailure = program + QStringLiteral(" did not open its socket: ") + QString::fromLocal8Bit(output.readAll());
    return false;
}

bool TSoundServer::Run(const QString& program, const QStringList& arguments, QByteArray* output)
{
    QProcess process;
    process.setProcessEnvironment(Environment());
    process.start(program, arguments);
    const bool done = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    if (output)
        *output = process.readAllStandardOutput();
    if (!done)
        process.kill();
    return done;
}

void TSoundServer::Start()
{
    FFailure.clear();
    const QString& folder = FFolder.path();
    QFile::remove(SocketPath());
    if (FKind == TKind::PulseAudio) {
        // In the foreground, never leaving on its own, loading only what the
        // tests need, whoever runs them (root included). The sink never
        // rewrites what it has mixed ahead: its monitor cannot take back
        // samples already recorded, so a new sound's start would be missing
        // from the recording.
        Launch(FServer, QStringLiteral("pulseaudio"),
               {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--system=false"),
                QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
                QStringLiteral("--use-pid-file=false"), QStringLiteral("--log-target=stderr"), QStringLiteral("-L"),
                QStringLiteral("module-null-sink sink_name=null norewinds=1"), QStringLiteral("-L"),
                QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + SocketPath()},
               SocketPath());
        return;
    }
    // A first start: its PulseAudio service makes the socket's folder too.
    QDir(folder + QStringLiteral("/pulse")).removeRecursively();
    QFile::remove(folder + QStringLiteral("/bus"));
    QFile::remove(folder + QStringLiteral("/pipewire-0"));
    if (!Launch(FBus, QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                 QStringLiteral("--nosyslog"), QStringLiteral("--address=unix:path=") + folder + QStringLiteral("/bus")},
                folder + QStringLiteral("/bus"))
        || !Launch(FGraph, QStringLiteral("pipewire"), {}, folder + QStringLiteral("/pipewire-0"))
        || !Launch(FSessionManager, QStringLiteral("wireplumber"), {}, {})
        || !Launch(FServer, QStringLiteral("pipewire-pulse"), {}, SocketPath()))
        return;
    // The service may take its first clients a moment after its socket
    // appears. The session manager links the service's streams to the
    // default sink once it has seen it.
    if (!WaitFor(20000, [&] { return Run(QStringLiteral("pactl"), {QStringLiteral("load-module"),
                                                                    QStringLiteral("module-null-sink"),
                                                                    QStringLiteral("sink_name=null")}); })
        || !WaitFor(20000, [&] { return Run(QStringLiteral("pactl"), {QStringLiteral("set-default-sink"),
                                                                       QStringLiteral("null")}); })) {
        FFailure = QStringLiteral("PipeWire takes no null sink");
        return;
    }
    QByteArray sink;
    if (!WaitFor(20000, [&] { return Run(QStringLiteral("pactl"), {QStringLiteral("get-default-sink")}, &sink)
                                     && sink.trimmed() == "null"; }))
        FFailure = QStringLiteral("PipeWire's default sink is not the null sink: ") + QString::fromLocal8Bit(sink);
}

TSoundServer::~TSoundServer()
{
    Stop();
}

void TSoundServer::Stop()
{
    for (QProcess* process : {&FRecorder, &FServer, &FSessionManager, &FGraph, &FBus}) {
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
    // Cookie, state, configuration and runtime files all stay in the
    // temporary folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        environment.insert(QString::fromLatin1(name), FFolder.path());
    // PipeWire's service would also take its socket's folder from these.
    for (const char* name : {"PULSE_RUNTIME_PATH", "PULSE_STATE_PATH", "PIPEWIRE_REMOTE", "PIPEWIRE_RUNTIME_DIR",
                             "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                       QStringLiteral("unix:path=") + FFolder.path() + QStringLiteral("/bus"));
    environment.insert(QStringLiteral("PULSE_SERVER"), Address());
    return environment;
}

bool TSoundServer::ForceQuantum(int samples)
{
    return FKind == TKind::PipeWire
        && Run(QStringLiteral("pw-metadata"), {QStringLiteral("-n"), QStringLiteral("settings"), QStringLiteral("0"),
                                              QStringLiteral("clock.force-quantum"), QString::number(samples)});
}

int TSoundServer::Quantum()
{
    if (FKind != TKind::PipeWire)
        return 0;
    // pw-top is the one tool that shows the period a driver runs at, and it
    // only draws on a terminal.
    QProcess top;
    QProcessEnvironment environment = Environment();
    environment.insert(QStringLiteral("TERM"), QStringLiteral("xterm"));
    top.setProcessEnvironment(environment);
    top.start(QStringLiteral("script"), {QStringLiteral("-qfc"), QStringLiteral("stty cols 200 rows 40; exec pw-top"),
                                         QStringLiteral("/dev/null")});
    if (!top.waitForStarted(5000))
        return 0;
    // A driver's row: its state, id, period, rate, ... and last its name.
    static const QRegularExpression row(QStringLiteral("(?:^|[\\r\\n])\\s*R\\s+\\d+\\s+(\\d+)\\s+\\d+\\s[^\\r\\n]*\\snull\\s*(?=[\\r\\n])"));
    static const QRegularExpression escapes(QStringLiteral("\\x1b(?:\\[[0-9;?]*[a-zA-Z]|\\([AB0])"));
    QString screen;
    int quantum = 0;
    WaitFor(20000, [&] {
        top.waitForReadyRead(100);
        screen += QString::fromLocal8Bit(top.readAllStandardOutput()).remove(escapes);
        const QRegularExpressionMatch match = row.match(screen);
        quantum = match.hasMatch() ? match.captured(1).toInt() : 0;
        return quantum > 0 || top.state() == QProcess::NotRunning;
    });
    top.kill();
    top.waitForFinished(2000);
    return quantum;
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
                     QStringLiteral("--latency-msec=%1").arg(RecordingLatencyMs)});
    if (!FRecorder.waitForStarted(5000))
        return false;
    // The null sink plays silence all the time; once some arrives, the
    // recording has begun.
    return WaitFor(5000, [&] { return QFileInfo(file).size() > 0; });
}

std::vector<std::int16_t> TSoundServer::StopRecording(int tailMs)
{
    const QString file = RecordingFile(FFolder.path());
    const qint64 until = QFileInfo(file).size() + qint64(RecordingRate) * 2 * (tailMs + RecordingLatencyMs) / 1000;
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

std::vector<double> HeardSounds(const std::vector<std::int16_t>& samples, int rate, int quietMs)
{
    // About -30 dBFS: far above the resampler's noise, far below a click.
    constexpr int Level = 1000;
    const std::size_t quietNeeded = std::size_t(rate) * std::size_t(quietMs) / 1000;
    std::size_t quiet = quietNeeded;
    std::vector<double> sounds;
    std::size_t start = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (std::abs(int(samples[i])) < Level) {
            ++quiet;
            continue;
        }
        if (quiet >= quietNeeded) {
            start = i;
            sounds.push_back(0);
        }
        sounds.back() = double(i - start) * 1000 / rate;
        quiet = 0;
    }
    return sounds;
}
