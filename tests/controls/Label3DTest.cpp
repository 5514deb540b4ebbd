#include "ControlTesting.h"
#include "Label3D.h"
#include "TestServices.h"
#include "TestRows.h"

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

using namespace ControlTesting;

// A 60 x 24 label whose font has no antialiasing, so that every caption
// pixel has exactly the font colour.
void MakeCrisp(TLabel3D& label)
{
    label.SetAutoSize(false);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.SetCaption(QStringLiteral("Hg"));
    label.setGeometry(0, 0, 60, 24);
}

QRgb CaptionRgb() { return QPalette().color(QPalette::Active, QPalette::WindowText).rgb(); }

// Every shadow pixel lies at the offset from a caption pixel, and every
// caption pixel has caption or shadow at the offset, unless that falls off.
void ExpectShadowAt(const QImage& image, QRgb caption, QRgb shadow, QPoint offset)
{
    const TPixels shadowPixels = PixelsOf(image, shadow);
    ASSERT_FALSE(shadowPixels.empty());
    for (const auto& [x, y] : shadowPixels)
        ASSERT_EQ(image.pixel(x - offset.x(), y - offset.y()), caption) << x << "," << y;
    for (const auto& [x, y] : PixelsOf(image, caption)) {
        const QPoint moved(x + offset.x(), y + offset.y());
        if (image.rect().contains(moved)) {
            ASSERT_TRUE(image.pixel(moved) == caption || image.pixel(moved) == shadow) << x << "," << y;
        }
    }
}

TEST(Label3D, DefaultsDrawAOnePixelRingAndAHighlightShadowRightAndDown)
{
    TLabel3D label;
    MakeCrisp(label);
    const QImage image = Picture(label);
    EXPECT_EQ(PixelsOf(image, Rgb(clBtnShadow)), Area({{59, 0, 59, 23}, {0, 23, 59, 23}}));
    EXPECT_EQ(Without(Area({{0, 0, 58, 0}, {0, 0, 0, 22}}), PixelsOf(image, Rgb(clBtnHighlight))), TPixels());
    ExpectShadowAt(image.copy(1, 1, 58, 22), CaptionRgb(), Rgb(clBtnHighlight), {1, 1});
}

struct TEffectCase {
    const char* Name;
    TLabel3D::TLabel3DEffectType Effect;
    QPoint Offset;
};

class Label3DEffect : public testing::TestWithParam<TEffectCase> {};

TEST_P(Label3DEffect, DrawsTheShadowAtItsOffsetWithoutAFrame)
{
    TLabel3D label;
    MakeCrisp(label);
    label.SetEffect(GetParam().Effect);
    label.SetEffectColor(clRed);
    label.SetColor(clWhite);
    label.SetFrameWidth(0);
    label.setGeometry(0, 0, 60, 24);
    const QImage image = Picture(label);
    EXPECT_EQ(image.pixel(0, 0), Rgb(clWhite));
    ExpectShadowAt(image, CaptionRgb(), Rgb(clRed), GetParam().Offset);
}

INSTANTIATE_TEST_SUITE_P(AllFour, Label3DEffect,
                         testing::Values(TEffectCase{.Name = "SingleLeft", .Effect = TLabel3D::ef3dSingleShadowL, .Offset = {-1, 1}},
                                         TEffectCase{.Name = "DoubleLeft", .Effect = TLabel3D::ef3dDblShadowL, .Offset = {-2, 2}},
                                         TEffectCase{.Name = "SingleRight", .Effect = TLabel3D::ef3dSingleShadowR, .Offset = {1, 1}},
                                         TEffectCase{.Name = "DoubleRight", .Effect = TLabel3D::ef3dDblShadowR, .Offset = {2, 2}}),
                         RowName);

TEST(Label3D, DisabledDrawsTheCaptionGreyOverAShadowInTheEffectColour)
{
    TLabel3D label;
    MakeCrisp(label);
    label.SetEffectColor(clRed);
    label.setEnabled(false);
    const QImage image = Picture(label);
    EXPECT_TRUE(PixelsOf(image, CaptionRgb()).empty());
    ExpectShadowAt(image.copy(1, 1, 58, 22), Rgb(clGrayText), Rgb(clRed), {1, 1});
}

TEST(Label3D, FrameWidthAboveTenIsRefusedAndEffectChangesOnlyEnlarge)
{
    TTestServices services;
    TLabel3D label;
    label.SetFrameWidth(10);
    label.SetFrameWidth(11);
    EXPECT_EQ(label.FrameWidth(), 10);
    EXPECT_EQ(services.MessageTexts(), QStringList{"Wert für FrameWidth muß zwischen 0 und 10 liegen."});
    EXPECT_EQ(services.Messages[0].Icon, TMessageIcon::Information);

    label.setGeometry(7, 9, 50, 20);
    label.SetEffect(TLabel3D::ef3dSingleShadowR);
    label.SetEffect(TLabel3D::ef3dDblShadowL);
    EXPECT_EQ(label.geometry(), QRect(7, 9, 52, 22));
    label.SetEffect(TLabel3D::ef3dSingleShadowR);
    EXPECT_EQ(label.geometry(), QRect(7, 9, 53, 23));
}

} // namespace
