#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

// A private sound server for tests and measurements: PulseAudio with one
// null sink, on a socket in a temporary folder, and a recorder of that sink's
// monitor. Nothing of the machine's own sound setup is used or touched.
class TSoundServer {
public:
    // Mono, 16 bits: what the recorder hands back.
    static constexpr int RecordingRate = 22050;

    TSoundServer();
    ~TSoundServer();

    // Ends the server, as when it goes away under its clients; Start brings
    // it back on the same socket.
    void Stop();
    void Start();

    // Empty when the server runs, otherwise what went wrong.
    QString Failure() const { return FFailure; }
    // The address for a client of this server, as PULSE_SERVER takes it.
    QString Address() const { return QStringLiteral("unix:") + FFolder.path() + QStringLiteral("/native"); }
    QString Folder() const { return FFolder.path(); }

    // Records from the moment samples flow until StopRecording, which first
    // lets another tailMs of sound arrive, however slowly the machine runs.
    bool StartRecording();
    std::vector<std::int16_t> StopRecording(int tailMs = 300);

private:
    QProcessEnvironment Environment() const;

    QTemporaryDir FFolder;
    QProcess FServer;
    QProcess FRecorder;
    QString FFailure;
};

// The sounds in a recording: every rise above a small level after at least
// quietMs of silence.
int CountOnsets(const std::vector<std::int16_t>& samples, int rate, int quietMs = 15);
