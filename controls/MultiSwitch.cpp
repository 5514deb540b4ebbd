#include "MultiSwitch.h"

#include <QMouseEvent>

TMultiSwitch::TMultiSwitch(QWidget* parent) : TCustomControl(parent) { resize(25, 41); }

void TMultiSwitch::SetOnValue(std::uint8_t value)
{
    if (value == FOnValue)
        return;
    if (value == 0)
        value = 1;
    else if (value > 3)
        value = 3;
    FOnValue = value;
    Invalidate();
    emit OnChange(this);
}

void TMultiSwitch::SetSwitchCount(std::uint8_t value)
{
    if (value == FSwitchCount)
        return;
    if (value < 2)
        value = 2;
    else if (value > 3)
        value = 3;
    FSwitchCount = value;
    Invalidate();
}

void TMultiSwitch::Paint(TCanvas& canvas)
{
    const bool focused = hasFocus();
    TRect rect = DrawBevelFrame(canvas, {0, 0, width(), height()}, clBlack, clBlack, focused ? 2 : 1);

    TRect inside = DrawBevelFrame(canvas, rect, clBtnHighlight, clBtnShadow, 1);
    inside = DrawBevelFrame(canvas, inside, clBtnShadow, clBtnHighlight, 1);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(inside);

    // The lamps do not move when the focus frame widens.
    if (focused)
        rect = rect.Inflated(1);

    const bool threeLamps = FSwitchCount == 3;
    const int segment = (rect.Bottom - rect.Top) / (threeLamps ? 3 : 2) - 2;
    const auto lamp = [&](int top, int bottom, bool lit, TColor onColor) {
        TRect area{rect.Left + 2, top, rect.Right - 2, bottom};
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = lit ? onColor : FAllOffColor;
        canvas.FillRect(area);
        if (lit) {
            area = DrawBevelFrame(canvas, area, clBtnShadow, clBtnHighlight, 1);
            DrawBevelFrame(canvas, area, clWindowFrame, clBtnShadow, 1);
        } else {
            area = DrawBevelFrame(canvas, area, clBtnShadow, clWindowFrame, 1);
            DrawBevelFrame(canvas, area, clBtnHighlight, clBtnShadow, 1);
        }
    };
    const int top = rect.Top;
    lamp(top + 2, top + 2 + segment, FOnValue == 1, FTopOnColor);
    if (threeLamps) {
        lamp(top + segment + 3, top + 2 * segment + 3, FOnValue == 2, FMiddleOnColor);
        lamp(top + 2 * segment + 4, top + 3 * segment + 4, FOnValue == 3, FBottomOnColor);
    } else {
        lamp(top + segment + 3, top + 2 * segment + 3, FOnValue == 3, FBottomOnColor);
    }

    const TColor pen = canvas.Pen.Color;
    const int middle = rect.Left + (rect.Right - rect.Left) / 2;
    const int half = segment / 2;
    canvas.Pen.Color = FOnValue == 1 ? clWhite : FTopOnColor;
    canvas.MoveTo(middle - 3, top + half + 2);
    canvas.LineTo(middle + 3, top + half + 2);

    canvas.Pen.Color = FOnValue == 3 ? clWhite : FBottomOnColor;
    const int plusRow = threeLamps ? top + 2 * segment + 4 + half : top + segment + 3 + half;
    canvas.MoveTo(middle - 3, plusRow);
    canvas.LineTo(middle + 4, plusRow);
    canvas.MoveTo(middle, plusRow - 3);
    canvas.LineTo(middle, plusRow + (threeLamps ? 4 : 5));
    canvas.Pen.Color = pen;
}

// The middle lamp cannot be reached from the keyboard.
void TMultiSwitch::StepKey(int step) { SetOnValue(step > 0 ? 3 : 1); }

void TMultiSwitch::mousePressEvent(QMouseEvent* event)
{
    TCustomControl::mousePressEvent(event);
    const QPoint pointer = event->position().toPoint();
    // Hit boxes from the client rectangle enlarged by one, inclusive on all
    // sides; they match the painted lamps only roughly.
    const int lampCount = FSwitchCount == 3 ? 3 : 2;
    const int segment = (height() + 2) / lampCount - 2;
    if (pointer.x() < 1 || pointer.x() > width() - 1)
        return;
    const auto within = [&](int first, int last) { return pointer.y() >= first && pointer.y() <= last; };
    if (within(1, segment + 1))
        SetOnValue(1);
    else if (within(segment + 2, 2 * segment + 2))
        SetOnValue(lampCount == 3 ? 2 : 3);
    else if (lampCount == 3 && within(2 * segment + 3, 3 * segment + 3))
        SetOnValue(3);
}
