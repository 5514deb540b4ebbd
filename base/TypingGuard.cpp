#include "TypingGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

TTypingGuard::TTypingGuard(std::chrono::milliseconds settling) : FSettling(settling)
{
    qApp->installEventFilter(this);
}

TTypingGuard::~TTypingGuard() { qApp->removeEventFilter(this); }

void TTypingGuard::Guard(QWidget& box)
{
    FBox = &box;
    FHeldBefore = FDown;
    FOpened.start();
}

void TTypingGuard::Release()
{
    FBox = nullptr;
    FHeldBefore.fill(0);
}

// The key on the keyboard where the platform says which one it is, so that a
// release with Shift let go in between still matches its press.
unsigned TTypingGuard::KeyOf(const QKeyEvent& key)
{
    return key.nativeScanCode() != 0 ? key.nativeScanCode() : unsigned(key.key());
}

bool TTypingGuard::Contains(const std::array<unsigned, 8>& keys, unsigned key) const
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

void TTypingGuard::Add(std::array<unsigned, 8>& keys, unsigned key)
{
    if (std::find(keys.begin(), keys.end(), key) != keys.end())
        return;
    // More keys down at once than that are not a player's; the oldest goes.
    auto free = std::find(keys.begin(), keys.end(), 0u);
    if (free == keys.end()) {
        std::rotate(keys.begin(), keys.begin() + 1, keys.end());
        free = keys.end() - 1;
    }
    *free = key;
}

void TTypingGuard::Remove(std::array<unsigned, 8>& keys, unsigned key) { std::replace(keys.begin(), keys.end(), key, 0u); }

bool TTypingGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    const unsigned code = KeyOf(key);
    const bool press = event->type() == QEvent::KeyPress;
    if (!key.isAutoRepeat()) {
        if (press)
            Add(FDown, code);
        else
            Remove(FDown, code);
    }
    if (!FBox || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != FBox)
        return false;
    if (!press) {
        const bool heldBefore = Contains(FHeldBefore, code);
        if (heldBefore && !key.isAutoRepeat())
            Remove(FHeldBefore, code);
        return heldBefore;
    }
    return key.isAutoRepeat() || Contains(FHeldBefore, code)
        || FOpened.elapsed() < FSettling.count();
}
