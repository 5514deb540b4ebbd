#include "Canvas.h"

#include "Colors.h"

#include <QPainter>

#include <cstdlib>
#include <utility>

TCanvas::TCanvas(QPaintDevice* device) : FDevice(device) {}

TCanvas::TCanvas(QPainter& painter) : FPainter(&painter) {}

TCanvas::~TCanvas() { Release(); }

QPainter& TCanvas::Painter()
{
    if (!FPainter) {
        FOwnPainter = std::make_unique<QPainter>(FDevice);
        FPainter = FOwnPainter.get();
    }
    return *FPainter;
}

void TCanvas::Release()
{
    if (FOwnPainter) {
        FOwnPainter->end();
        FOwnPainter.reset();
        FPainter = nullptr;
    }
}

void TCanvas::Reset()
{
    Pen = {};
    Brush = {};
    Font = {};
    FontColor = clBlack;
    FPenPos = {};
}

void TCanvas::Fill(int x, int y, int width, int height, TColor color)
{
    if (width > 0 && height > 0)
        Painter().fillRect(QRect(x, y, width, height), ToQColor(color));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0)
        return;
    const int pen = Pen.Width < 1 ? 1 : Pen.Width;
    if (Brush.Style == TBrushStyle::bsSolid)
        Fill(left + pen, top + pen, width - 2 * pen, height - 2 * pen, Brush.Color);
    Fill(left, top, width, pen, Pen.Color);
    Fill(left, bottom - pen, width, pen, Pen.Color);
    Fill(left, top, pen, height, Pen.Color);
    Fill(right - pen, top, pen, height, Pen.Color);
}

void TCanvas::FillRect(const TRect& rect)
{
    Fill(rect.Left, rect.Top, rect.Width(), rect.Height(), Brush.Color);
}

void TCanvas::MoveTo(int x, int y) { FPenPos = QPoint(x, y); }

void TCanvas::LineTo(int x, int y)
{
    const int pen = Pen.Width < 1 ? 1 : Pen.Width;
    const int half = (pen - 1) / 2;
    int x0 = FPenPos.x();
    int y0 = FPenPos.y();
    FPenPos = QPoint(x, y);
    if (y0 == y) {
        const int from = x0 < x ? x0 : x + 1;
        Fill(from, y0 - half, std::abs(x - x0), pen, Pen.Color);
        return;
    }
    if (x0 == x) {
        const int from = y0 < y ? y0 : y + 1;
        Fill(x0 - half, from, pen, std::abs(y - y0), Pen.Color);
        return;
    }
    // Any other slope: a Bresenham walk that stops before the end point.
    const int dx = std::abs(x - x0);
    const int dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    while (x0 != x || y0 != y) {
        Fill(x0 - half, y0 - half, pen, pen, Pen.Color);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void TCanvas::DrawText(const QString& text, const TRect& rect, unsigned format)
{
    if (text.isEmpty())
        return;
    int flags = Qt::AlignTop;
    if (format & TextFormat::Right)
        flags |= Qt::AlignRight;
    else if (format & TextFormat::Center)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    if (format & TextFormat::WordBreak)
        flags |= Qt::TextWordWrap;
    if (format & TextFormat::ExpandTabs)
        flags |= Qt::TextExpandTabs;
    if (!(format & TextFormat::NoPrefix))
        flags |= Qt::TextShowMnemonic;
    QPainter& painter = Painter();
    painter.save();
    painter.setFont(Font);
    painter.setPen(ToQColor(FontColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawText(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), flags, text);
    painter.restore();
}

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
