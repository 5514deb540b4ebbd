#include "Panel.h"

#include "Appearance.h"

#include <QPainter>

TPanel::TPanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TPanel::PaintOn(TCanvas& canvas) const
{
    const auto bevelColors = [](TBevel bevel, TColor& top, TColor& bottom) {
        top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TRect rect{0, 0, width(), height()};
    TColor top = clBtnHighlight;
    TColor bottom = clBtnShadow;
    if (FBevelOuter != bvNone) {
        bevelColors(FBevelOuter, top, bottom);
        rect = DrawBevelFrame(canvas, rect, top, bottom, FBevelWidth);
    }
    rect = DrawBevelFrame(canvas, rect, FColor, FColor, FBorderWidth);
    if (FBevelInner != bvNone) {
        bevelColors(FBevelInner, top, bottom);
        rect = DrawBevelFrame(canvas, rect, top, bottom, FBevelWidth);
    }
    canvas.Brush.Color = FColor;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.FillRect(rect);
    if (!FCaption.isEmpty()) {
        canvas.Font = font();
        canvas.FontColor = clBlack;
        const int lineHeight = QFontMetrics(font()).height();
        const TRect line{rect.Left, rect.Top + (rect.Height() - lineHeight) / 2, rect.Right, rect.Bottom};
        canvas.DrawText(FCaption, line, TextFormat::Center);
    }
}

void TPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(painter);
    PaintOn(canvas);
}

void TPanel::SetBevelOuter(TBevel value) { ChangeAppearance(*this, FBevelOuter, value); }

void TPanel::SetBevelInner(TBevel value) { ChangeAppearance(*this, FBevelInner, value); }

void TPanel::SetBevelWidth(int value)
{
    if (value >= 1)
        ChangeAppearance(*this, FBevelWidth, value);
}

void TPanel::SetBorderWidth(int value)
{
    if (value >= 0)
        ChangeAppearance(*this, FBorderWidth, value);
}

void TPanel::SetColor(TColor value) { ChangeAppearance(*this, FColor, value); }

void TPanel::SetCaption(const QString& value) { ChangeAppearance(*this, FCaption, value); }
