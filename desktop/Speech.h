#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <ctime>
#include <stop_token>
#include <thread>

#include <sys/types.h>

class QSocketNotifier;

// Where the game's spoken phrases go. Orca 43 speaks nothing of what Qt 6.4
// reports while a game runs (changed names and descriptions arrive as object
// references it cannot speak, and a shown notification is read with its role
// name first), so the phrases go straight to the speech server that the
// screen reader itself speaks through, and only while a screen reader runs.
class TSpeaker {
public:
    enum class TUrgency {
        // Cut short by the next phrase: the latest move is the one that counts.
        Replace,
        // Waits for what is being said, the screen reader's own words too.
        Queue,
    };

    virtual ~TSpeaker() = default;
    virtual void Say(const char* text, TUrgency urgency) = 0;
};

// The speaker of the program; tests put their own in its place, or nullptr
// to bring the real one back. Says which one was in place.
TSpeaker& Speaker();
TSpeaker* SetSpeaker(TSpeaker* speaker);

// Says nothing: the speaker of tests that do not listen.
class TQuietSpeaker : public TSpeaker {
public:
    void Say(const char* /*text*/, TUrgency /*urgency*/) override {}
};

// A screen reader of this user that reads this session's windows: a process
// called orca, as Orca itself looks for other copies of it, whose session
// bus (or display, without one) is ours. Another assistive tool that merely
// switched the accessibility bus on is not one. Looks at /proc only, and no
// bus is asked; the looking is done on a thread of its own, so that a phrase
// said during play neither waits for it nor allocates.
class TScreenReaderWatch {
public:
    // The folder of processes and the session to match: the first of the
    // accessibility bus, the session bus and the display that is set here.
    explicit TScreenReaderWatch(const char* processes = "/proc");

    // The screen reader's process id, or 0, as last found. The first call
    // starts the thread, which looks anew every two seconds so that a screen
    // reader started later is found, and waits for its first answer.
    pid_t Running();
    // Looks through the processes here and now.
    pid_t Find() const;

private:
    bool IsReader(int folder, const char* pid) const;
    pid_t Look(pid_t before) const;
    void Watch(std::stop_token stop);

    static constexpr pid_t NotLooked = -1;

    QByteArray FProcesses;
    // "NAME=value" of our session, matched against a process's environment.
    QByteArray FSession;
    std::atomic<pid_t> FPid{NotLooked};
    // Last, so that it is stopped and joined before the fields it reads go.
    std::jthread FWatcher;
};

// The voice of the player's screen reader, as Orca keeps it in its user
// settings, turned into speech-dispatcher's settings the way Orca's own
// speech client sends them.
struct TReaderVoice {
    bool Read = false;
    QByteArray OutputModule;
    QByteArray Language;
    QByteArray Voice;
    int Rate = 0;
    int Pitch = 0;
    int Volume = 0;

    // The settings file's contents; false where it holds no settings.
    static TReaderVoice FromSettings(const QByteArray& json);
    // The commands that give a connection this voice; empty without settings.
    QByteArray Commands() const;
};

// Speaks through speech-dispatcher's own protocol on its local socket, while
// a screen reader runs, in that reader's voice. It never waits: the socket
// does not block, and the server's answers are read as they come.
class TSpeechDispatcher : public QObject, public TSpeaker {
    Q_OBJECT

public:
    TSpeechDispatcher();
    ~TSpeechDispatcher() override;

    void Say(const char* text, TUrgency urgency) override;

    bool Connected() const { return FSocket >= 0; }

private:
    bool Connect(pid_t reader);
    void Disconnect();
    void Send(const char* text, TUrgency urgency);
    bool Write(const char* data, size_t size);
    // The Orca settings file of the reader, and whether it changed since
    // the connection took its voice.
    QString SettingsFile(pid_t reader) const;
    bool SettingsChanged();

    TScreenReaderWatch FWatch;
    QByteArray FServer;
    int FSocket = -1;
    QSocketNotifier* FAnswers = nullptr;
    // Said once per outage of the server.
    bool FOutageReported = false;
    pid_t FReader = 0;
    QString FSettings;
    // The settings file as the connection took it: time, size and inode.
    long long FSettingsSeen[4] = {};
    timespec FSettingsLooked{};
};
