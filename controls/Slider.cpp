#include "Slider.h"

#include <QMouseEvent>

#include <climits>
#include <cmath>

namespace {

constexpr int Limit = 1000;

// Toward zero, as whole pixel rows are counted; held inside int even for
// absurd sizes.
int Truncated(double value)
{
    const double whole = std::trunc(value);
    if (!(whole > INT_MIN))
        return INT_MIN;
    if (!(whole < INT_MAX))
        return INT_MAX;
    return int(whole);
}

} // namespace

TSlider::TSlider(QWidget* parent) : TCustomControl(parent) { resize(49, 82); }

void TSlider::SetMax(int value)
{
    if (value <= FMin) {
        RejectValue(QStringLiteral("Wert muß größer sein als der Wert von Min."));
        return;
    }
    if (value < -Limit || value > Limit) {
        RejectValue(QStringLiteral("Wert muß zwischen -1000 und 1000 sein."));
        return;
    }
    SetAppearance(FMax, value);
}

void TSlider::SetMin(int value)
{
    if (value >= FMax) {
        RejectValue(QStringLiteral("Wert muß kleiner sein als der Wert von Max."));
        return;
    }
    if (value < -Limit || value > Limit) {
        RejectValue(QStringLiteral("Wert muß zwischen -1000 und 1000 sein."));
        return;
    }
    SetAppearance(FMin, value);
}

void TSlider::SetPosition(int value)
{
    if (value == FPosition)
        return;
    if (value < FMin || value > FMax) {
        RejectValue(QStringLiteral("Aktuelle Position muß >= Min und <= Max sein."));
        return;
    }
    PaintNow([this](TCanvas& canvas) { PaintThumb(canvas, false, false); });
    FPosition = value;
    PaintNow([this](TCanvas& canvas) { PaintThumb(canvas, false, true); });
    emit OnChange(this);
}

void TSlider::Paint(TCanvas& canvas) { PaintThumb(canvas, true, true); }

void TSlider::PaintThumb(TCanvas& canvas, bool full, bool drawThumb)
{
    const bool focused = hasFocus();
    const int frame = focused ? 2 : 1;
    TRect rect{0, 0, width(), height()};
    if (full) {
        rect = DrawBevelFrame(canvas, rect, clBlack, clBlack, frame);
        rect = DrawBevelFrame(canvas, rect, clBtnHighlight, clBtnShadow, 1);
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(rect);
        canvas.Brush.Style = TBrushStyle::bsClear;
    } else {
        rect = rect.Inflated(-(frame + 1));
    }
    // The wider focus frame takes nothing from the inside: the slot and the
    // thumb stay where they are.
    if (focused)
        rect = rect.Inflated(1);

    TRect slot;
    slot.Left = (rect.Right - rect.Left) / 2 - 1;
    slot.Top = rect.Top + 4;
    slot.Right = slot.Left + 7;
    slot.Bottom = rect.Bottom - 4;
    slot = DrawBevelFrame(canvas, slot, clBtnShadow, clBtnHighlight, 1);

    const double step = double(slot.Bottom - slot.Top - 8) / (FMax - FMin);
    double y = slot.Bottom - 4;
    for (int value = FMin; value <= FMax; ++value) {
        const int row = Truncated(y);
        if (FTicks) {
            canvas.Pen.Color = FTicksColor;
            canvas.MoveTo(slot.Left - 6, row);
            canvas.LineTo(slot.Left - 2, row);
            canvas.MoveTo(slot.Right + 2, row);
            canvas.LineTo(slot.Right + 6, row);
        }
        if (value == FPosition) {
            TRect thumb{slot.Left - 12, row - 4, slot.Right + 12, row + 5};
            canvas.Brush.Style = TBrushStyle::bsSolid;
            if (drawThumb) {
                canvas.Brush.Color = clBtnFace;
                canvas.FillRect(thumb);
                thumb = DrawBevelFrame(canvas, thumb, clBlack, clBlack, 1);
                DrawBevelFrame(canvas, thumb, clBtnHighlight, FShadowColor, 3);
            } else {
                canvas.Brush.Color = Color();
                canvas.FillRect(thumb);
            }
            canvas.Brush.Style = TBrushStyle::bsClear;
        }
        y -= step;
    }
}

void TSlider::StepKey(int step)
{
    if (step > 0 ? FPosition < FMax : FPosition > FMin)
        SetPosition(FPosition + step);
}

void TSlider::mouseMoveEvent(QMouseEvent* event)
{
    TCustomControl::mouseMoveEvent(event);
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pointer = event->position().toPoint();

    // The client rectangle enlarged by one on every side: the mouse's idea
    // of the slot differs slightly from the painted one.
    const TRect area{-1, -1, width() + 1, height() + 1};
    const int slotLeft = (area.Right - area.Left) / 2 - 1;
    const int slotTop = area.Top + 4;
    const int slotRight = slotLeft + 7;
    const int slotBottom = area.Bottom - 4;
    const double step = double(slotBottom - slotTop - 8) / (FMax - FMin);
    const double thumbY = (slotBottom - 4) - step * (FPosition - FMin);
    const int thumbRow = Truncated(thumbY);

    if (FDragging) {
        // A slider too low for its range has no whole step to move by.
        if (!(step > 0))
            return;
        const double steps = std::trunc((thumbY - pointer.y()) / step);
        if (steps != 0 && steps >= double(FMin) - FPosition && steps <= double(FMax) - FPosition)
            SetPosition(FPosition + int(steps));
        return;
    }
    const TRect hitBox{slotLeft - 12, thumbRow - 8, slotRight + 12, thumbRow + 9};
    if (pointer.x() >= hitBox.Left - 2 && pointer.y() >= hitBox.Top + 1 && pointer.x() <= hitBox.Right - 5
        && pointer.y() <= hitBox.Bottom)
        FDragging = true;
}

void TSlider::mouseReleaseEvent(QMouseEvent* event)
{
    TCustomControl::mouseReleaseEvent(event);
    FDragging = false;
}
