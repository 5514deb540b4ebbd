#include "Announcer.h"

#if MVK_ANNOUNCEMENTS

#include <QAccessible>
#include <QApplication>
#include <QWidget>

QObject* TAnnouncer::Source()
{
    if (QWidget* focus = QApplication::focusWidget())
        return focus;
    if (QWidget* window = QApplication::activeWindow())
        return window;
    return qApp;
}

void TAnnouncer::Say(const char* text, TUrgency urgency)
{
    if (!*text || !QAccessible::isActive())
        return;
    QAccessibleAnnouncementEvent announcement(Source(), QString::fromUtf8(text));
    announcement.setPoliteness(urgency == TUrgency::Replace ? QAccessible::AnnouncementPoliteness::Assertive
                                                            : QAccessible::AnnouncementPoliteness::Polite);
    QAccessible::updateAccessibility(&announcement);
}

#endif
