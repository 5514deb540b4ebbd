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
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            return window;
    return qApp;
}

void TAnnouncer::Say(const char* text)
{
    if (!*text)
        return;
    // Qt drops the event while no assistive technology listens; the phrase
    // goes into a buffer that keeps its room, so that nothing is allocated
    // for it key after key.
    FText.resize(0);
    FText.append(QUtf8StringView(text));
    QAccessibleAnnouncementEvent announcement(Source(), FText);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Assertive);
    QAccessible::updateAccessibility(&announcement);
}

#endif
