#include "ControlSetBase.h"

#include "Services.h"

#include <QMetaObject>

#include <cmath>

QString VersionText(double version)
{
    const double whole = std::trunc(version);
    // The default rounding mode rounds ties to the even neighbour.
    const long long hundredths = std::llrint((version - whole) * 100.0);
    QString text = QString::number(static_cast<long long>(whole)) + QLatin1Char('.');
    if (hundredths < 10)
        text += QLatin1Char('0');
    return text + QString::number(hundredths);
}

QString AboutText(const QString& className, double version)
{
    const QString paragraphBreak = QStringLiteral("\r\r");
    const QString edition = sizeof(void*) == 8 ? QStringLiteral("64-Bit-Ausgabe") : QStringLiteral("32-Bit-Ausgabe");
    return QStringLiteral("MVKubrin-Steuerelemente für Qt 6") + paragraphBreak + className + paragraphBreak
           + QStringLiteral("Version ") + VersionText(version) + QStringLiteral(", ") + edition + paragraphBreak
           + QStringLiteral("Aus dem Projekt MVKubrin, 2026");
}

void ShowAboutBox(const QObject& control, double version)
{
    Services().ShowMessage(AboutText(QString::fromLatin1(control.metaObject()->className()), version),
                           TMessageIcon::Information);
}

void RejectValue(const QString& message) { Services().ShowMessage(message, TMessageIcon::Information); }
