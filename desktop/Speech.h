#pragma once

#include <QObject>

class QLocalSocket;

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
// to bring the real one back.
TSpeaker& Speaker();
void SetSpeaker(TSpeaker* speaker);

// Speaks through speech-dispatcher's own protocol on its local socket, while
// the accessibility bus says that a screen reader is running. It never waits:
// connecting, sending and the server's answers all go through the event loop.
class TSpeechDispatcher : public QObject, public TSpeaker {
    Q_OBJECT

public:
    TSpeechDispatcher();
    ~TSpeechDispatcher() override;

    void Say(const char* text, TUrgency urgency) override;

    bool ScreenReaderRunning() const { return FScreenReader; }

private slots:
    void ScreenReaderChanged(const QString& interface, const QVariantMap& changed, const QStringList& invalidated);

private:
    void Send(const char* text, TUrgency urgency);

    QLocalSocket* FSocket;
    bool FScreenReader = false;
    // A phrase said while the connection is still being made.
    QByteArray FWaiting;
    TUrgency FWaitingUrgency = TUrgency::Replace;
};
