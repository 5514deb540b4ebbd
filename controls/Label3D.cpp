#include "Label3D.h"

namespace {

struct TShadowOffset {
    int X;
    int Y;
};

// Indexed by the effect's ordinal.
constexpr TShadowOffset ShadowOffsets[] = {{-1, 1}, {-2, 2}, {1, 1}, {2, 2}};

constexpr quint16 LargestFrameWidth = 10;

} // namespace

TLabel3D::TLabel3D(QWidget* parent) : TControlSetItem<TLabel>(parent) {}

void TLabel3D::SetEffect(TLabel3DEffectType value)
{
    // Only a bare number written through the property system can lie outside
    // the four effects; there is no shadow for it.
    if (value > ef3dDblShadowR || !SetAppearance(FEffect, value))
        return;
    const int growth = (value == ef3dDblShadowL || value == ef3dDblShadowR) ? 2 : 1;
    setGeometry(x(), y(), width() + growth, height() + growth);
}

void TLabel3D::SetFrameWidth(quint16 value)
{
    if (value > LargestFrameWidth) {
        RejectValue(QStringLiteral("Wert für FrameWidth muß zwischen 0 und 10 liegen."));
        return;
    }
    SetAppearance(FFrameWidth, value);
}

void TLabel3D::Paint(TCanvas& canvas)
{
    const TRect client{0, 0, width(), height()};
    if (!Transparent()) {
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = Color();
        canvas.FillRect(client);
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    TRect textRect = client;
    if (FFrameWidth != 0)
        textRect = DrawBevelFrame(canvas, textRect, FTopColor, FBottomColor, FFrameWidth);

    const unsigned format = CaptionFormat() | TextFormat::WordBreak;
    const QString caption = Caption().left(255);
    canvas.Font = font();
    const TColor fontColor = FontColor();

    const TShadowOffset offset = ShadowOffsets[FEffect];
    canvas.FontColor = FEffectColor;
    canvas.DrawText(caption, textRect.Shifted(offset.X, offset.Y), format);

    canvas.FontColor = isEnabled() ? fontColor : clGrayText;
    canvas.DrawText(caption, textRect, format);
}
