#pragma once

#include "ControlSetBase.h"
#include "PaintBox.h"

#include <cstdint>

// A paint box filled with a linear gradient from Color1 to Color2, from top
// to bottom (orVert) or from left to right (orHorz). The gradient is drawn
// after the paint box's own painting and OnPaint, and only at run time.
class TColorsBox : public TControlSetItem<TPaintBox> {
    Q_OBJECT
    Q_PROPERTY(bool About READ About WRITE SetAbout)
    Q_PROPERTY(TColor Color1 READ Color1 WRITE SetColor1)
    Q_PROPERTY(TColor Color2 READ Color2 WRITE SetColor2)
    Q_PROPERTY(TOrientation Orientation READ Orientation WRITE SetOrientation)

public:
    enum TOrientation : std::uint8_t { orHorz, orVert };
    Q_ENUM(TOrientation)

    explicit TColorsBox(QWidget* parent = nullptr);

    TColor Color1() const { return FColor1; }
    void SetColor1(TColor value) { SetAppearance(FColor1, value); }
    TColor Color2() const { return FColor2; }
    void SetColor2(TColor value) { SetAppearance(FColor2, value); }
    TOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TOrientation value);

    void Paint(TCanvas& canvas) override;

private:
    TColor FColor1 = clRed;
    TColor FColor2 = clBlue;
    TOrientation FOrientation = orVert;
};
