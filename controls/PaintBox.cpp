#include "PaintBox.h"

#include "Appearance.h"
#include "Colors.h"

#include <QPainter>

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) { resize(105, 105); }

void TPaintBox::SetColor(TColor value) { ChangeAppearance(*this, FColor, value); }

void TPaintBox::Paint(TCanvas& canvas) { PaintBoxPaint(canvas, false); }

void TPaintBox::PaintBoxPaint(TCanvas& canvas, bool designing)
{
    canvas.Font = font();
    canvas.Brush.Color = FColor;
    if (designing) {
        QPainter& painter = canvas.Painter();
        painter.save();
        painter.setPen(QPen(ToQColor(canvas.Pen.Color), 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, width() - 1, height() - 1);
        painter.restore();
        canvas.Brush.Style = TBrushStyle::bsClear;
    }
    FCanvas = &canvas;
    emit OnPaint(this);
    FCanvas = nullptr;
}

void TPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    Paint(canvas);
}
