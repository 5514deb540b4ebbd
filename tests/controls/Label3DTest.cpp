#include "ControlTesting.h"
#include "Label3D.h"
#include "TestServices.h"

#include <QFont>

#include <gtest/gtest.h>

// A class derived from the label, as a user of the set would write one.
class TFancyLabel : public TLabel3D {
    Q_OBJECT

public:
    using TLabel3D::TLabel3D;
};

namespace {

using namespace ControlTesting;

constexpr int LabelWidth = 60;
constexpr int LabelHeight = 24;

// A label of fixed size with a font drawn without antialiasing, so that
// every caption pixel has exactly the font colour.
void MakeCrisp(TLabel3D& label, const QString& caption = QStringLiteral("Hg"))
{
    label.SetAutoSize(false);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(14);
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    label.SetCaption(caption);
    label.setGeometry(0, 0, LabelWidth, LabelHeight);
}

QRgb CaptionRgb(const TLabel3D& label) { return label.palette().color(QPalette::Active, QPalette::WindowText).rgb(); }

// The caption's pixels and the shadow's: every caption pixel has a caption
// or shadow pixel at the offset (unless the shadow falls off the label),
// every shadow pixel a caption pixel against it.
void ExpectShadowAt(const QImage& image, QRgb caption, QRgb shadow, QPoint offset)
{
    const auto captionPixels = PixelsOf(image, caption);
    const auto shadowPixels = PixelsOf(image, shadow);
    ASSERT_FALSE(captionPixels.empty());
    ASSERT_FALSE(shadowPixels.empty());
    for (const auto& [x, y] : captionPixels) {
        if (!image.rect().contains(x + offset.x(), y + offset.y()))
            continue;
        const QRgb moved = image.pixel(x + offset.x(), y + offset.y());
        ASSERT_TRUE(moved == caption || moved == shadow) << x << "," << y;
    }
    for (const auto& [x, y] : shadowPixels)
        ASSERT_EQ(image.pixel(x - offset.x(), y - offset.y()), caption) << x << "," << y;
}

QRect BoundsOf(const std::vector<std::pair<int, int>>& pixels)
{
    QRect bounds;
    for (const auto& [x, y] : pixels)
        bounds |= QRect(x, y, 1, 1);
    return bounds;
}

TEST(Label3D, DefaultsDrawAHighlightedRingAndAShadowOnePixelRightAndDown)
{
    TLabel3D label;
    MakeCrisp(label);
    const QImage image = Picture(label);
    const QRgb highlight = Rgb(clBtnHighlight);
    const QRgb shadow = Rgb(clBtnShadow);
    const int right = LabelWidth - 1;
    const int bottom = LabelHeight - 1;
    EXPECT_EQ(Row(image, 0, 0, right - 1), std::vector<QRgb>(right, highlight));
    EXPECT_EQ(Column(image, 0, 0, bottom - 1), std::vector<QRgb>(bottom, highlight));
    EXPECT_EQ(Row(image, bottom, 0, right), std::vector<QRgb>(LabelWidth, shadow));
    EXPECT_EQ(Column(image, right, 0, bottom), std::vector<QRgb>(LabelHeight, shadow));
    EXPECT_EQ(image.pixel(1, 1), Rgb(clBtnFace));

    // Inside the ring: face, caption and the highlight-coloured copy.
    const QImage inside = image.copy(1, 1, LabelWidth - 2, LabelHeight - 2);
    ExpectShadowAt(inside, CaptionRgb(label), highlight, {1, 1});
}

struct TEffectCase {
    const char* Name;
    TLabel3D::TLabel3DEffectType Effect;
    QPoint Offset;
};

void PrintTo(const TEffectCase& row, std::ostream* out) { *out << row.Name; }

class Label3DEffect : public testing::TestWithParam<TEffectCase> {};

TEST_P(Label3DEffect, DrawsTheShadowAtItsOffset)
{
    TLabel3D label;
    MakeCrisp(label);
    label.SetEffect(GetParam().Effect);
    label.setGeometry(0, 0, LabelWidth, LabelHeight);
    label.SetEffectColor(clRed);
    label.SetColor(clWhite);
    label.SetFrameWidth(0);
    ExpectShadowAt(Picture(label), CaptionRgb(label), Rgb(clRed), GetParam().Offset);
}

INSTANTIATE_TEST_SUITE_P(AllFour, Label3DEffect,
                         testing::Values(TEffectCase{"SingleLeft", TLabel3D::ef3dSingleShadowL, {-1, 1}},
                                         TEffectCase{"DoubleLeft", TLabel3D::ef3dDblShadowL, {-2, 2}},
                                         TEffectCase{"SingleRight", TLabel3D::ef3dSingleShadowR, {1, 1}},
                                         TEffectCase{"DoubleRight", TLabel3D::ef3dDblShadowR, {2, 2}}),
                         [](const testing::TestParamInfo<TEffectCase>& info) { return std::string(info.param.Name); });

class Label3DFrameWidth : public testing::TestWithParam<int> {};

TEST_P(Label3DFrameWidth, DrawsThatManyRingsAndMovesTheTextInside)
{
    const int frame = GetParam();
    TLabel3D label;
    MakeCrisp(label, QString());
    label.SetFrameWidth(quint16(frame));
    label.SetTopColor(clRed);
    label.SetBottomColor(clBlue);
    label.SetColor(clWhite);
    const QImage image = Picture(label);
    const int middle = LabelHeight / 2;
    EXPECT_EQ(Row(image, middle, 0, frame - 1), std::vector<QRgb>(frame, Rgb(clRed)));
    EXPECT_EQ(Row(image, middle, LabelWidth - frame, LabelWidth - 1), std::vector<QRgb>(frame, Rgb(clBlue)));
    EXPECT_EQ(image.pixel(frame, middle), Rgb(clWhite));
    EXPECT_EQ(image.pixel(LabelWidth - 1 - frame, middle), Rgb(clWhite));
    EXPECT_EQ(PixelsOf(image, Rgb(clWhite)).size(), size_t((LabelWidth - 2 * frame) * (LabelHeight - 2 * frame)));

    // The caption starts where the frame ends, the same amount further in.
    TLabel3D bare;
    MakeCrisp(bare);
    bare.SetFrameWidth(0);
    label.SetCaption(QStringLiteral("Hg"));
    const QRect framedInk = BoundsOf(PixelsOf(Picture(label), CaptionRgb(label)));
    const QRect bareInk = BoundsOf(PixelsOf(Picture(bare), CaptionRgb(bare)));
    EXPECT_EQ(framedInk.topLeft() - bareInk.topLeft(), QPoint(frame, frame));
}

INSTANTIATE_TEST_SUITE_P(Widths, Label3DFrameWidth, testing::Values(0, 1, 3, 10));

TEST(Label3D, DisabledDrawsTheCaptionGreyOverAShadowInTheEffectColour)
{
    TLabel3D label;
    MakeCrisp(label);
    label.SetEffectColor(clRed);
    label.SetColor(clWhite);
    label.setEnabled(false);
    const QImage image = Picture(label);
    ASSERT_NE(CaptionRgb(label), Rgb(clGrayText));
    EXPECT_TRUE(PixelsOf(image, CaptionRgb(label)).empty());
    ExpectShadowAt(image.copy(1, 1, LabelWidth - 2, LabelHeight - 2), Rgb(clGrayText), Rgb(clRed), {1, 1});
}

TEST(Label3D, TransparentLabelLeavesWhatLiesUnderneath)
{
    TLabel3D label;
    MakeCrisp(label, QString());
    label.SetTransparent(true);
    const QImage image = Picture(label);
    EXPECT_EQ(PixelsOf(image, Underneath).size(), size_t((LabelWidth - 2) * (LabelHeight - 2)));
}

TEST(Label3D, AmpersandUnderlinesUnlessAccelCharsAreOff)
{
    TLabel3D prefixed;
    MakeCrisp(prefixed, QStringLiteral("&&x"));
    TLabel3D plain;
    MakeCrisp(plain, QStringLiteral("&x"));
    plain.SetShowAccelChar(false);
    EXPECT_EQ(Picture(prefixed), Picture(plain));

    TLabel3D underlined;
    MakeCrisp(underlined, QStringLiteral("&x"));
    EXPECT_NE(Picture(underlined), Picture(plain));
}

TEST(Label3D, FrameWidthAboveTenIsRefusedWithItsMessage)
{
    TTestServices services;
    TLabel3D label;
    label.SetFrameWidth(10);
    EXPECT_EQ(label.FrameWidth(), 10);
    EXPECT_TRUE(services.Messages.empty());
    label.SetFrameWidth(11);
    EXPECT_EQ(label.FrameWidth(), 10);
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].Text, QStringLiteral("Wert für FrameWidth muß zwischen 0 und 10 liegen."));
    EXPECT_EQ(services.Messages[0].Icon, TMessageIcon::Information);
    EXPECT_EQ(services.Messages[0].Caption, ApplicationTitle);
}

TEST(Label3D, EveryEffectChangeEnlargesTheLabel)
{
    TLabel3D label;
    label.SetAutoSize(false);
    label.setGeometry(7, 9, 50, 20);
    label.SetEffect(TLabel3D::ef3dSingleShadowR);
    EXPECT_EQ(label.geometry(), QRect(7, 9, 50, 20));
    label.SetEffect(TLabel3D::ef3dDblShadowL);
    EXPECT_EQ(label.geometry(), QRect(7, 9, 52, 22));
    label.SetEffect(TLabel3D::ef3dSingleShadowR);
    EXPECT_EQ(label.geometry(), QRect(7, 9, 53, 23));
}

TEST(Label3D, AutoSizeFitsTheCaptionAndKeepsTheRightEdgeOfARightAlignedLabel)
{
    TLabel3D label;
    MakeCrisp(label, QStringLiteral("Punkte"));
    label.setGeometry(100, 10, 10, 10);
    label.SetAutoSize(true);
    const QSize fitted = label.size();
    EXPECT_GT(fitted.width(), 30);
    EXPECT_EQ(label.pos(), QPoint(100, 10));
    label.setAlignment(Qt::AlignRight);
    label.SetCaption(QStringLiteral("Punkte Punkte"));
    EXPECT_GT(label.width(), fitted.width());
    EXPECT_EQ(label.geometry().right(), 100 + fitted.width() - 1);
}

TEST(About, ShowsTheBoxForEveryTrueAndAlwaysReadsFalse)
{
    TTestServices services;
    TLabel3D label;
    label.setProperty("About", false);
    EXPECT_TRUE(services.Messages.empty());
    label.setProperty("About", true);
    label.setProperty("About", true);
    EXPECT_FALSE(label.property("About").toBool());
    ASSERT_EQ(services.Messages.size(), 2u);
    EXPECT_EQ(services.Messages[1].Text, AboutText(QStringLiteral("TLabel3D"), 3.0));
    EXPECT_EQ(services.Messages[1].Icon, TMessageIcon::Information);
}

TEST(About, ADerivedClassShowsItsOwnName)
{
    TTestServices services;
    TFancyLabel label;
    label.SetAbout(true);
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages[0].Text.split(QStringLiteral("\r\r")).value(1), QStringLiteral("TFancyLabel"));
}

} // namespace

#include "Label3DTest.moc"
