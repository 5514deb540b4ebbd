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

TRect DrawBevelFrame(TCanvas& canvas, TRect rect, TColor topColor, TColor bottomColor, int width)
{
    canvas.Pen.Width = 1;
    --rect.Right;
    --rect.Bottom;
    for (int ring = 0; ring < width; ++ring) {
        canvas.Pen.Color = topColor;
        canvas.MoveTo(rect.Left, rect.Bottom);
        canvas.LineTo(rect.Left, rect.Top);
        canvas.LineTo(rect.Right, rect.Top);
        canvas.Pen.Color = bottomColor;
        canvas.LineTo(rect.Right, rect.Bottom);
        // One past the left edge, so that the bottom-left corner pixel takes
        // the bottom colour.
        canvas.LineTo(rect.Left - 1, rect.Bottom);
        rect = rect.Inflated(-1);
    }
    ++rect.Right;
    ++rect.Bottom;
    return rect;
}
