#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <array>
#include <chrono>

class QKeyEvent;
class QWidget;

// Keeps the keys of a game out of a text box that opens under the player's
// fingers when the game ends. While a box is guarded, its widgets get no
// press of a key that is held down, from before the box opened or since,
// until that key is let go; and in a short moment after the box appeared (a
// player hammering a key cannot stop sooner) no key but a letter: the game
// is played with digits, space and arrows, while a name typed at once must
// keep its first letters. What the player types after that is the box's. Key presses still queued for the game's window
// when the box opens never reach the box: Qt drops input for a window under
// a modal one.
//
// It watches every key of the application, so that it knows which keys are
// down when a box opens; that allocates nothing.
class TTypingGuard : public QObject {
public:
    explicit TTypingGuard(std::chrono::milliseconds settling = std::chrono::milliseconds(600));
    ~TTypingGuard() override;

    // Guards the box and its children from now until Release.
    void Guard(QWidget& box);
    void Release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TKeyDown {
        unsigned Key = 0;
        bool Down = false;
        qint64 LastPress = 0;
        // The window system's time of the last release: a repeat that the
        // window system sends as a release and a press comes at that time.
        quint64 ReleasedAt = 0;
    };

    // Notes a press and says whether it repeats a key held down.
    bool Pressed(const QKeyEvent& key);
    void Released(const QKeyEvent& key);

    std::chrono::milliseconds FSettling;
    QPointer<QWidget> FBox;
    bool FShown = false;
    qint64 FOpened = 0;
    QElapsedTimer FClock;
    // The keys seen last; Key 0 is a free place.
    std::array<TKeyDown, 8> FDown{};
};
