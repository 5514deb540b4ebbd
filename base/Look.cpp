#include "Look.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QFont ClassicFont()
{
    QFont font;
    // The narrow faces keep the counters' captions clear of their numbers.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

QPixmap Picture(const QString& path, qreal ratio)
{
    if (ratio > 1) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        const bool hasSuffix = dot > path.lastIndexOf(QLatin1Char('/'));
        const QString fine = hasSuffix ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot)
                                       : path + QStringLiteral("@2x");
        if (QFile::exists(fine)) {
            QPixmap pixmap(fine);
            if (!pixmap.isNull()) {
                pixmap.setDevicePixelRatio(2);
                return pixmap;
            }
        }
    }
    return QPixmap(path);
}
