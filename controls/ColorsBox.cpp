#include "ColorsBox.h"

#include <cmath>

namespace {

struct TComponents {
    double Red;
    double Green;
    double Blue;
};

// A system colour is not looked up: its index byte counts as red.
TComponents ComponentsOf(TColor color)
{
    if (IsSystemColor(color))
        return {double(color & 0xFFu), 0.0, 0.0};
    return {double(RedOf(color)), double(GreenOf(color)), double(BlueOf(color))};
}

// Nearest integer, ties to the even neighbour (the default rounding mode).
TColor Channel(double value) { return TColor(std::lrint(value)); }

} // namespace

TColorsBox::TColorsBox(QWidget* parent) : TControlSetItem<TPaintBox>(parent) {}

void TColorsBox::SetOrientation(TOrientation value)
{
    // Only a bare number written through the property system can lie outside
    // the two orientations.
    if (value > orVert)
        return;
    SetAppearance(FOrientation, value);
}

void TColorsBox::Paint(TCanvas& canvas)
{
    PaintBoxPaint(canvas, Designing());
    if (Designing())
        return;

    const TComponents from = ComponentsOf(FColor1);
    const TComponents to = ComponentsOf(FColor2);
    const bool vertical = FOrientation == orVert;
    const int lines = vertical ? height() : width();
    if (lines <= 0)
        return;
    const double redStep = (to.Red - from.Red) / lines;
    const double greenStep = (to.Green - from.Green) / lines;
    const double blueStep = (to.Blue - from.Blue) / lines;

    // Accumulated line by line, so the first line already carries one step
    // and the last one lands on Color2.
    TComponents running = from;
    canvas.Pen.Width = 1;
    for (int line = 0; line < lines; ++line) {
        running.Red += redStep;
        running.Green += greenStep;
        running.Blue += blueStep;
        canvas.Pen.Color = Channel(running.Red) + Channel(running.Green) * 256 + Channel(running.Blue) * 65536;
        if (vertical) {
            canvas.MoveTo(0, line);
            canvas.LineTo(width(), line);
        } else {
            // Stops short of the bottom row, which stays unpainted.
            canvas.MoveTo(line, 0);
            canvas.LineTo(line, height() - 1);
        }
    }
}
