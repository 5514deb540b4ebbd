#include "Surface.h"

#include "Colors.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

TSurface::TSurface(QWidget& widget, TColor blank) : FWidget(widget), FBlank(blank), FCanvas(&FImage) {}

// An empty widget still gets a picture, so that drawing on it is harmless.
QSize TSurface::WidgetSize() const { return FWidget.size().expandedTo(QSize(1, 1)); }

bool TSurface::FitsSize() const { return !FImage.isNull() && FSize == WidgetSize(); }

bool TSurface::Fits() const { return FitsSize() && FImage.devicePixelRatio() == FWidget.devicePixelRatioF(); }

void TSurface::Remake()
{
    const qreal ratio = FWidget.devicePixelRatioF();
    FCanvas.Release();
    FSize = WidgetSize();
    // No screen shows more than an 8K screen's pixels: a widget larger than
    // that (a stored window may ask for one) keeps the picture of as much of
    // it as such a screen could show, from its top-left corner, instead of
    // gigabytes of it. Drawing beyond the picture is cut off.
    constexpr qint64 MostPixels = qint64(7680) * 4320;
    QSize pixels = FSize * ratio;
    pixels.setWidth(int(std::min<qint64>(pixels.width(), MostPixels)));
    pixels.setHeight(int(std::min<qint64>(pixels.height(), std::max<qint64>(1, MostPixels / pixels.width()))));
    FImage = QImage(pixels, QImage::Format_RGB32);
    FImage.setDevicePixelRatio(ratio);
    FImage.fill(ToQColor(FBlank));
    FRepaintDue = true;
}

// Asking the widget for its pixel ratio is slow, and a cell is drawn many
// times a frame: drawing checks the size only, and the paint event, which
// shows the picture, the ratio as well.
TCanvas& TSurface::Canvas()
{
    if (!FitsSize())
        Remake();
    FCanvas.Reset();
    return FCanvas;
}

TCanvas& TSurface::RepaintCanvas()
{
    TCanvas& canvas = Canvas();
    FRepaintDue = false;
    return canvas;
}

bool TSurface::IsCurrent() const { return !FRepaintDue && Fits(); }

void TSurface::Invalidate()
{
    FRepaintDue = true;
    FWidget.update();
}

void TSurface::Show(const QRect& changed) { FWidget.update(changed); }

void TSurface::Show() { FWidget.update(); }

void TSurface::Blank()
{
    if (!Fits())
        Remake();
    FCanvas.Release();
    FImage.fill(ToQColor(FBlank));
    Show();
}

const QImage& TSurface::Image()
{
    Canvas();
    FCanvas.Release();
    return FImage;
}

void TSurface::PaintEvent(const QPaintEvent& event, const std::function<void()>& repaint)
{
    if (FWidget.width() <= 0 || FWidget.height() <= 0)
        return;
    if (!Fits())
        Remake();
    if (FRepaintDue) {
        if (repaint)
            repaint();
        FRepaintDue = false;
    }
    FCanvas.Release();
    const QRect exposed = event.rect();
    const qreal ratio = FImage.devicePixelRatio();
    QPainter painter(&FWidget);
    const QRectF pixels(exposed.x() * ratio, exposed.y() * ratio, exposed.width() * ratio, exposed.height() * ratio);
    painter.drawImage(QRectF(exposed), FImage, pixels);
}
