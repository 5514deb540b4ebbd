#include "ReplayedKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

namespace {

// Keys that come from the window system are spontaneous; a key that the
// accessibility bridge delivers again after the screen reader answered is
// not. A late bare Alt, pressed before the menu opened, is kept from the
// menu bar while the menu is open; Esc and the arrows still work the menu.
class TLateAltFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            // The menu bar starts to watch every event when Alt goes down;
            // being first again keeps the late Alt from reaching it.
            if (qobject_cast<QMenu*>(watched)) {
                qApp->removeEventFilter(this);
                qApp->installEventFilter(this);
            }
            return false;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            return !event->spontaneous() && key->key() == Qt::Key_Alt
                   && qobject_cast<QMenu*>(QApplication::activePopupWidget());
        }
        default:
            return false;
        }
    }
};

} // namespace

void KeepMenusOpenAgainstLateAltKeys()
{
    static QObject* filter = nullptr;
    if (filter)
        return;
    filter = new TLateAltFilter(qApp);
    qApp->installEventFilter(filter);
}
