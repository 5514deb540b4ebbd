#pragma once

#include "ReaderVoice.h"
#include "ScreenReaderWatch.h"
#include "Speech.h"

#include <QByteArray>
#include <QObject>

#include <sys/types.h>

class QSocketNotifier;

// Speaks through speech-dispatcher's own protocol on its local socket, while
// a screen reader runs, in that reader's voice. It never waits: the socket
// does not block, and the server's answers are read as they come.
class TSpeechDispatcher : public QObject, public TSpeaker {
    Q_OBJECT

public:
    TSpeechDispatcher();
    ~TSpeechDispatcher() override;

    void Say(const char* text) override;

    bool Connected() const { return FSocket >= 0; }

private:
    bool Connect(pid_t reader);
    void Disconnect();
    void Send(const char* text);
    bool Write(const char* data, size_t size);

    TScreenReaderWatch FWatch;
    QByteArray FServer;
    int FSocket = -1;
    QSocketNotifier* FAnswers = nullptr;
    // Said once per outage of the server.
    bool FOutageReported = false;
    pid_t FReader = 0;
    // The reader's settings as the connection took its voice from them.
    TReaderSettings FSettings;
};
