#pragma once

#include "Speech.h"

#include <QtGlobal>

// Qt 6.8 hands announcements to the screen reader, which speaks them in the
// player's own voice and rate, and shows them on a braille display; before
// it the phrases must go to the speech server directly. The one place that
// decides between the two.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#define MVK_ANNOUNCEMENTS 1
#else
#define MVK_ANNOUNCEMENTS 0
#endif

#if MVK_ANNOUNCEMENTS

#include <QString>

class QObject;

// Tells the screen reader the phrase as an announcement of the widget that
// holds the keyboard focus (the playfield during a game).
//
// Every phrase goes out assertive, as the next may cut it. Orca 48 ignores
// politeness anyway: it speaks every announcement at once, cutting whatever
// it was saying.
class TAnnouncer : public TSpeaker {
public:
    void Say(const char* text) override;

    // What the announcement is of, where no widget holds the focus.
    static QObject* Source();

private:
    QString FText;
};

#endif
