#pragma once

#include "CustomControl.h"

#include <cstdint>

// A small vertical switch of two or three stacked lamps, at most one lit:
// OnValue 1 lights the top lamp, 2 the middle, 3 the bottom. The top lamp
// carries a minus, the bottom lamp a plus. A press of any mouse button on a
// lamp or the "+" and "-" keys select one; every change raises OnChange.
class TMultiSwitch : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(bool About READ About WRITE SetAbout)
    Q_PROPERTY(TColor AllOffColor READ AllOffColor WRITE SetAllOffColor)
    Q_PROPERTY(TColor BottomOnColor READ BottomOnColor WRITE SetBottomOnColor)
    Q_PROPERTY(TColor MiddleOnColor READ MiddleOnColor WRITE SetMiddleOnColor)
    Q_PROPERTY(quint8 OnValue READ OnValue WRITE SetOnValue)
    Q_PROPERTY(quint8 SwitchCount READ SwitchCount WRITE SetSwitchCount)
    Q_PROPERTY(TColor TopOnColor READ TopOnColor WRITE SetTopOnColor)

public:
    explicit TMultiSwitch(QWidget* parent = nullptr);

    TColor AllOffColor() const { return FAllOffColor; }
    void SetAllOffColor(TColor value) { SetAppearance(FAllOffColor, value); }
    TColor BottomOnColor() const { return FBottomOnColor; }
    void SetBottomOnColor(TColor value) { SetAppearance(FBottomOnColor, value); }
    TColor MiddleOnColor() const { return FMiddleOnColor; }
    void SetMiddleOnColor(TColor value) { SetAppearance(FMiddleOnColor, value); }
    std::uint8_t OnValue() const { return FOnValue; }
    // Compared before it is limited to 1..3, so 0 while 1 is lit still
    // repaints and raises OnChange.
    void SetOnValue(std::uint8_t value);
    std::uint8_t SwitchCount() const { return FSwitchCount; }
    // Limited to 2..3 after the comparison.
    void SetSwitchCount(std::uint8_t value);
    TColor TopOnColor() const { return FTopOnColor; }
    void SetTopOnColor(TColor value) { SetAppearance(FTopOnColor, value); }

signals:
    void OnChange(QObject* Sender);

protected:
    void Paint(TCanvas& canvas) override;

    void StepKey(int step) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor FAllOffColor = clBtnFace;
    TColor FBottomOnColor = clRed;
    TColor FMiddleOnColor = clWhite;
    std::uint8_t FOnValue = 1;
    std::uint8_t FSwitchCount = 3;
    TColor FTopOnColor = clGreen;
};
