#pragma once

#include "ControlSetBase.h"
#include "Label.h"

#include <cstdint>

// A label that draws its caption twice: a shadow copy in EffectColor, one or
// two pixels to the lower left or lower right, then the caption on top; an
// optional two-colour frame runs round the client area.
class TLabel3D : public TControlSetItem<TLabel> {
    Q_OBJECT
    Q_PROPERTY(bool About READ About WRITE SetAbout)
    Q_PROPERTY(TColor BottomColor READ BottomColor WRITE SetBottomColor)
    Q_PROPERTY(TLabel3DEffectType Effect READ Effect WRITE SetEffect)
    Q_PROPERTY(TColor EffectColor READ EffectColor WRITE SetEffectColor)
    Q_PROPERTY(quint16 FrameWidth READ FrameWidth WRITE SetFrameWidth)
    Q_PROPERTY(TColor TopColor READ TopColor WRITE SetTopColor)

public:
    enum TLabel3DEffectType : std::uint8_t { ef3dSingleShadowL, ef3dDblShadowL, ef3dSingleShadowR, ef3dDblShadowR };
    Q_ENUM(TLabel3DEffectType)

    explicit TLabel3D(QWidget* parent = nullptr);

    TColor BottomColor() const { return FBottomColor; }
    void SetBottomColor(TColor value) { SetAppearance(FBottomColor, value); }
    TLabel3DEffectType Effect() const { return FEffect; }
    // Every change enlarges the label by the new shadow's reach; it never
    // shrinks again.
    void SetEffect(TLabel3DEffectType value);
    TColor EffectColor() const { return FEffectColor; }
    void SetEffectColor(TColor value) { SetAppearance(FEffectColor, value); }
    quint16 FrameWidth() const { return FFrameWidth; }
    // 0 to 10; anything above is refused with a message.
    void SetFrameWidth(quint16 value);
    TColor TopColor() const { return FTopColor; }
    void SetTopColor(TColor value) { SetAppearance(FTopColor, value); }

    void Paint(TCanvas& canvas) override;

private:
    TColor FBottomColor = clBtnShadow;
    TLabel3DEffectType FEffect = ef3dSingleShadowR;
    TColor FEffectColor = clBtnHighlight;
    quint16 FFrameWidth = 1;
    TColor FTopColor = clBtnHighlight;
};
