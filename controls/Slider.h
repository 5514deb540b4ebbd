#pragma once

#include "CustomControl.h"

// A vertical slider: a sunken slot with a tick on both sides for every whole
// value from Min (bottom) to Max (top) and a raised thumb at Position. The
// thumb follows a drag with the left button and the "+" and "-" keys; every
// change of Position raises OnChange.
class TSlider : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool About READ About WRITE SetAbout)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(TColor ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(bool Ticks READ Ticks WRITE SetTicks)
    Q_PROPERTY(TColor TicksColor READ TicksColor WRITE SetTicksColor)

public:
    explicit TSlider(QWidget* parent = nullptr);

    int Max() const { return FMax; }
    // Above Min and within -1000..1000, else refused with a message.
    void SetMax(int value);
    int Min() const { return FMin; }
    // Below Max and within -1000..1000, else refused with a message.
    void SetMin(int value);
    int Position() const { return FPosition; }
    // Within Min..Max, else refused with a message. Moves the thumb at once
    // and raises OnChange. Changing Min or Max never moves Position.
    void SetPosition(int value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value) { SetAppearance(FShadowColor, value); }
    bool Ticks() const { return FTicks; }
    void SetTicks(bool value) { SetAppearance(FTicks, value); }
    TColor TicksColor() const { return FTicksColor; }
    void SetTicksColor(TColor value) { SetAppearance(FTicksColor, value); }

signals:
    void OnChange(QObject* Sender);

protected:
    void Paint(TCanvas& canvas) override;

    void StepKey(int step) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Full: the outer frames and the background as well; otherwise only the
    // slot, the ticks and the thumb. drawThumb false fills the thumb's place
    // with the background instead, to take the old thumb away.
    void PaintThumb(TCanvas& canvas, bool full, bool drawThumb);

    bool FDragging = false;
    int FMax = 10;
    int FMin = 0;
    int FPosition = 5;
    TColor FShadowColor = clBtnShadow;
    bool FTicks = true;
    TColor FTicksColor = clBlack;
};
