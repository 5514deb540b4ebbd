#pragma once

#include "TColor.h"

#include <QFont>
#include <QPoint>
#include <QString>

#include <memory>

class QPainter;
class QPaintDevice;

// A rectangle with right and bottom exclusive, as the drawing rules count.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TRect Inflated(int by) const { return {Left - by, Top - by, Right + by, Bottom + by}; }
    TRect Shifted(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Text format flags of DrawText.
namespace TextFormat {
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned ExpandTabs = 0x40;
constexpr unsigned NoPrefix = 0x800;
} // namespace TextFormat

// The classic drawing surface that components paint through: a pen for
// outlines and lines, a brush for insides, a font for text. Rectangles
// exclude their right and bottom edges, lines exclude their end point, and
// nothing is antialiased, so every rule can be checked pixel by pixel.
class TCanvas {
public:
    // Paints on a device; a painter is opened at the first operation and
    // held until Release or destruction.
    explicit TCanvas(QPaintDevice* device);
    // Paints through a painter that the caller owns (inside a paint event).
    explicit TCanvas(QPainter& painter);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    QFont Font;
    TColor FontColor = clBlack;

    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // Fills with the brush colour, no outline.
    void FillRect(const TRect& rect);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    QPoint PenPos() const { return FPenPos; }
    // Draws text into the rectangle with TextFormat flags, in FontColor, with
    // no background.
    void DrawText(const QString& text, const TRect& rect, unsigned format);

    // Ends the painter so that the device can be read or resized.
    void Release();
    // Pen, brush, font and pen position as a new canvas has them.
    void Reset();
    QPainter& Painter();

private:
    void Fill(int x, int y, int width, int height, TColor color);

    QPaintDevice* FDevice = nullptr;
    std::unique_ptr<QPainter> FOwnPainter;
    QPainter* FPainter = nullptr;
    QPoint FPenPos;
};

// Draws `width` one-pixel rings inward from rect: the left and top edges in
// topColor, the right and bottom edges and the top-right and bottom-left
// corner pixels in bottomColor. Returns rect shrunk by width on every side;
// width 0 draws nothing. Leaves the pen at width 1 in bottomColor.
TRect DrawBevelFrame(TCanvas& canvas, TRect rect, TColor topColor, TColor bottomColor, int width);
