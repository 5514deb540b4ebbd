#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <array>
#include <chrono>

class QKeyEvent;
class QWidget;

// Keeps the keys of a game out of a text box that opens under the player's
// fingers when the game ends. While a box is guarded, its widgets get no key
// press that repeats a held key, none of a key that went down before the box
// opened until that key is released, and none at all in a short moment after
// the box opened: a player hammering a key cannot stop within it. What the
// player types after that is the box's.
//
// It watches every key of the application, so it knows which keys are down
// when a box opens; that costs no allocation.
class TTypingGuard : public QObject {
public:
    explicit TTypingGuard(std::chrono::milliseconds settling = std::chrono::milliseconds(400));
    ~TTypingGuard() override;

    // Guards the box and its children from now until Release.
    void Guard(QWidget& box);
    void Release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static unsigned KeyOf(const QKeyEvent& key);
    bool Contains(const std::array<unsigned, 8>& keys, unsigned key) const;
    static void Add(std::array<unsigned, 8>& keys, unsigned key);
    static void Remove(std::array<unsigned, 8>& keys, unsigned key);

    std::chrono::milliseconds FSettling;
    // Keys down now, and those that were down when the box opened; 0 is free.
    std::array<unsigned, 8> FDown{};
    std::array<unsigned, 8> FHeldBefore{};
    QPointer<QWidget> FBox;
    QElapsedTimer FOpened;
};
