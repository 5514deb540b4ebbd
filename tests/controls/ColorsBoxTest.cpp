#include "ColorsBox.h"
#include "ControlTesting.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

QRgb Plain(int red, int green, int blue) { return qRgb(red, green, blue); }

TEST(ColorsBox, DefaultsRunFromRedToBlueWithOneStepInTheFirstRow)
{
    TColorsBox box;
    box.resize(3, 255);
    const QImage image = Picture(box);
    for (int y = 0; y < 255; ++y)
        ASSERT_EQ(Row(image, y, 0, 2), std::vector<QRgb>(3, Plain(255 - (y + 1), 0, y + 1))) << "row " << y;
}

TEST(ColorsBox, HorizontalColumnsLeaveTheBottomRowUnpainted)
{
    TColorsBox box;
    box.SetOrientation(TColorsBox::orHorz);
    box.resize(255, 4);
    const QImage image = Picture(box);
    for (int x = 0; x < 255; ++x)
        ASSERT_EQ(Column(image, x, 0, 2), std::vector<QRgb>(3, Plain(255 - (x + 1), 0, x + 1))) << "column " << x;
    EXPECT_EQ(Row(image, 3, 0, 254), std::vector<QRgb>(255, Underneath));
}

struct TSingleLineCase {
    const char* Name;
    TColorsBox::TOrientation Orientation;
    QSize Size;
};

void PrintTo(const TSingleLineCase& row, std::ostream* out) { *out << row.Name; }

class ColorsBoxSingleLine : public testing::TestWithParam<TSingleLineCase> {};

TEST_P(ColorsBoxSingleLine, IsDrawnInColor2)
{
    TColorsBox box;
    box.SetOrientation(GetParam().Orientation);
    box.SetColor1(RGBColor(10, 20, 30));
    box.SetColor2(RGBColor(200, 100, 50));
    box.resize(GetParam().Size);
    const QImage image = Picture(box);
    const bool vertical = GetParam().Orientation == TColorsBox::orVert;
    // A column stops short of the bottom row.
    const size_t painted = vertical ? size_t(box.width()) : size_t(box.height() - 1);
    EXPECT_EQ(PixelsOf(image, Plain(200, 100, 50)).size(), painted);
    EXPECT_EQ(PixelsOf(image, Underneath).size(), size_t(box.width() * box.height()) - painted);
}

INSTANTIATE_TEST_SUITE_P(
    OneRowOrColumn, ColorsBoxSingleLine,
    testing::Values(TSingleLineCase{"VerticalOneRowHigh", TColorsBox::orVert, {7, 1}},
                    TSingleLineCase{"HorizontalOneColumnWide", TColorsBox::orHorz, {1, 6}}),
    [](const testing::TestParamInfo<TSingleLineCase>& info) { return std::string(info.param.Name); });

TEST(ColorsBox, RunningValuesRoundHalfToEven)
{
    TColorsBox box;
    box.SetColor1(RGBColor(0, 0, 0));
    box.SetColor2(RGBColor(1, 3, 0));
    box.resize(2, 2);
    const QImage image = Picture(box);
    // Row 0 holds red 0.5 and green 1.5.
    EXPECT_EQ(image.pixel(0, 0), Plain(0, 2, 0));
    EXPECT_EQ(image.pixel(0, 1), Plain(1, 3, 0));
}

TEST(ColorsBox, SystemColoursCountTheirIndexAsRed)
{
    TColorsBox box;
    box.SetColor1(clBtnFace);      // index 15
    box.SetColor2(clBtnHighlight); // index 20
    box.resize(2, 5);
    const QImage image = Picture(box);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(image.pixel(1, y), Plain(16 + y, 0, 0)) << "row " << y;
}

TEST(ColorsBox, EqualColoursFillTheBox)
{
    TColorsBox box;
    box.SetColor1(clGreen);
    box.SetColor2(clGreen);
    box.resize(9, 13);
    EXPECT_EQ(PixelsOf(Picture(box), Rgb(clGreen)).size(), 9u * 13u);
}

TEST(ColorsBox, NoLinesDrawNothing)
{
    for (const TColorsBox::TOrientation orientation : {TColorsBox::orVert, TColorsBox::orHorz}) {
        TColorsBox box;
        box.SetOrientation(orientation);
        box.resize(orientation == TColorsBox::orVert ? QSize(6, 0) : QSize(0, 6));
        QImage image = Surface(6, 6);
        {
            TCanvas canvas(&image);
            box.Paint(canvas);
        }
        EXPECT_EQ(PixelsOf(image, Underneath).size(), 36u);
    }
}

TEST(ColorsBox, DesignModeDrawsOnlyTheDashedOutline)
{
    TColorsBox box;
    box.resize(40, 30);
    box.SetDesigning(true);
    const QImage image = Picture(box);
    const std::vector<QRgb> top = Row(image, 0, 0, 39);
    const auto black = std::count(top.begin(), top.end(), Rgb(clBlack));
    EXPECT_GT(black, 10);
    EXPECT_EQ(std::count(top.begin(), top.end(), Underneath), 40 - black);
    const auto allBlack = PixelsOf(image, Rgb(clBlack)).size();
    const auto allUnderneath = PixelsOf(image, Underneath).size();
    EXPECT_EQ(allBlack + allUnderneath, 40u * 30u);
    EXPECT_EQ(PixelsOf(image.copy(1, 1, 38, 28), Underneath).size(), 38u * 28u);
}

TEST(ColorsBox, GradientCoversWhatOnPaintDrewExceptInDesignMode)
{
    TColorsBox box;
    box.SetColor1(clRed);
    box.SetColor2(clRed);
    box.resize(10, 10);
    QObject::connect(&box, &TPaintBox::OnPaint, [&box](QObject* sender) {
        ASSERT_EQ(sender, &box);
        ASSERT_NE(box.Canvas(), nullptr);
        box.Canvas()->Brush.Style = TBrushStyle::bsSolid;
        box.Canvas()->Brush.Color = clLime;
        box.Canvas()->FillRect({2, 2, 8, 8});
    });
    EXPECT_EQ(PixelsOf(Picture(box), Rgb(clRed)).size(), 100u);
    box.SetDesigning(true);
    EXPECT_EQ(PixelsOf(Picture(box), Rgb(clLime)).size(), 36u);
    EXPECT_EQ(box.Canvas(), nullptr);
}

} // namespace
