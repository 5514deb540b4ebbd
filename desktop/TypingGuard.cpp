#include "TypingGuard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// A held key repeats its press well within this time. A key whose release
// got lost (it went to a window that had closed) counts as up once it is
// over.
constexpr qint64 RepeatWithin = 1500;

// The key on the keyboard where the platform says which one it is, so that
// a release after Shift was let go still matches its press.
unsigned KeyOf(const QKeyEvent& key) { return key.nativeScanCode() != 0 ? key.nativeScanCode() : unsigned(key.key()); }

} // namespace

TTypingGuard::TTypingGuard(std::chrono::milliseconds settling) : FSettling(settling)
{
    FClock.start();
    qApp->installEventFilter(this);
}

TTypingGuard::~TTypingGuard() { qApp->removeEventFilter(this); }

void TTypingGuard::Guard(QWidget& box)
{
    FBox = &box;
    FShown = false;
    FOpened = FClock.elapsed();
}

void TTypingGuard::Release() { FBox = nullptr; }

bool TTypingGuard::Pressed(const QKeyEvent& key)
{
    const unsigned code = KeyOf(key);
    const qint64 now = FClock.elapsed();
    auto* seen = std::find_if(FDown.begin(), FDown.end(), [code](const TKeyDown& down) { return down.Key == code; });
    bool repeated = key.isAutoRepeat();
    if (seen != FDown.end())
        repeated = repeated || (seen->Down && now - seen->LastPress <= RepeatWithin)
            || (!seen->Down && seen->ReleasedAt != 0 && seen->ReleasedAt == key.timestamp());
    else
        seen = std::min_element(FDown.begin(), FDown.end(), [](const TKeyDown& a, const TKeyDown& b) {
            return a.LastPress < b.LastPress;
        });
    *seen = {.Key = code, .Down = true, .LastPress = now, .ReleasedAt = 0};
    return repeated;
}

void TTypingGuard::Released(const QKeyEvent& key)
{
    for (TKeyDown& down : FDown)
        if (down.Key == KeyOf(key)) {
            down.Down = false;
            down.ReleasedAt = key.timestamp();
        }
}

bool TTypingGuard::eventFilter(QObject* watched, QEvent* event)
{
    if (!watched->isWindowType())
        return false;
    // The moment starts when the player can see the box.
    if (event->type() == QEvent::Expose && FBox && !FShown && watched == FBox->windowHandle()
        && FBox->windowHandle()->isExposed()) {
        FShown = true;
        FOpened = FClock.elapsed();
    }
    // A key comes to the window first, once, and then to its widgets and
    // their parents: it is counted, and kept out of a guarded box, there.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto& key = *static_cast<const QKeyEvent*>(event);
    if (event->type() == QEvent::KeyRelease) {
        if (!key.isAutoRepeat())
            Released(key);
        return false;
    }
    const bool repeated = Pressed(key);
    const bool guarded = FBox && watched == FBox->windowHandle();
    const bool settling = FClock.elapsed() - FOpened < FSettling.count();
    return guarded && (repeated || (settling && !(key.text().size() == 1 && key.text()[0].isLetter())));
}
