#pragma once

#include <QByteArray>

#include <ctime>

#include <sys/types.h>

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

// The Orca settings file of a screen reader, and whether it changed since
// it was taken.
class TReaderSettings {
public:
    // The file of this reader, as it is now.
    void Take(pid_t reader);
    // The voice it holds; without settings where it cannot be read.
    TReaderVoice Voice() const;
    // Whether it changed since it was taken; looked at once a second at most.
    bool Changed();

private:
    static QByteArray File(pid_t reader);

    // Kept as the system spells it, so that looking for a change allocates
    // nothing while the game is played.
    QByteArray FPath;
    // The file as it was taken: time, size and inode.
    long long FTaken[4] = {};
    timespec FLooked{};
};
