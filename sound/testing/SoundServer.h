#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

// A private sound server for tests and measurements, with one null sink
// named "null" as its default, on a socket in a temporary folder, and a
// recorder of that sink's monitor. Either PulseAudio itself, or PipeWire
// with its session manager and its PulseAudio service on a session bus of
// their own. Nothing of the machine's own sound setup is used or touched.
class TSoundServer {
public:
    enum class TKind : std::uint8_t { PulseAudio, PipeWire };

    // Mono, 16 bits: what the recorder hands back.
    static constexpr int RecordingRate = 22050;

    explicit TSoundServer(TKind kind = TKind::PulseAudio);
    ~TSoundServer();

    // Ends the server, as when it goes away under its clients; Start brings
    // it back on the same socket, as a server starting for the first time.
    void Stop();
    void Start();

    // Empty when the server runs, otherwise what went wrong.
    QString Failure() const { return FFailure; }
    // The address for a client of this server, as PULSE_SERVER takes it.
    QString Address() const { return QStringLiteral("unix:") + SocketPath(); }
    QString Folder() const { return FFolder.path(); }

    // PipeWire only: holds the graph at this many samples a period, as a busy
    // or power-saving desktop does (0 lets it choose again), and the period
    // its null sink runs at now, 0 when that cannot be told.
    bool ForceQuantum(int samples);
    int Quantum();

    // Records from the moment samples flow until StopRecording, which first
    // lets another tailMs of sound arrive, however slowly the machine runs.
    bool StartRecording();
    std::vector<std::int16_t> StopRecording(int tailMs = 300);

private:
    QString SocketPath() const;
    QProcessEnvironment Environment() const;
    bool Launch(QProcess& process, const QString& program, const QStringList& arguments, const QString& socket);
    bool Run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr);

    const TKind FKind;
    QTemporaryDir FFolder;
    // In the order they start.
    QProcess FBus;
    QProcess FGraph;
    QProcess FSessionManager;
    QProcess FServer;
    QProcess FRecorder;
    QString FFailure;
};

// The sounds in a recording, each as the milliseconds from its first to its
// last sample above a small level; a sound starts after at least quietMs of
// silence.
std::vector<double> HeardSounds(const std::vector<std::int16_t>& samples, int rate, int quietMs = 15);
