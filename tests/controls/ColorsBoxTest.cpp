#include "ColorsBox.h"
#include "ControlTesting.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

// Red 255 to blue 255 over 255 lines moves one step a line, and the first
// line already carries one step.
struct TGradientLine {
    int line;
    QRgb color;
};

constexpr TGradientLine RedToBlue[] = {
    {.line = 0, .color = qRgb(254, 0, 1)},
    {.line = 1, .color = qRgb(253, 0, 2)},
    {.line = 127, .color = qRgb(127, 0, 128)},
    {.line = 254, .color = qRgb(0, 0, 255)},
};

TEST(ColorsBox, DefaultsRunFromRedToBlueWithOneStepInTheFirstRow)
{
    TColorsBox box;
    box.resize(3, 255);
    const QImage image = Picture(box);
    for (const auto& [y, color] : RedToBlue)
        EXPECT_EQ(PixelsOf(image, color), Area({{0, y, 2, y}})) << "row " << y;
}

TEST(ColorsBox, HorizontalColumnsLeaveTheBottomRowUnpainted)
{
    TColorsBox box;
    box.SetOrientation(TColorsBox::orHorz);
    box.resize(255, 4);
    const QImage image = Picture(box);
    for (const auto& [x, color] : RedToBlue)
        EXPECT_EQ(PixelsOf(image, color), Area({{x, 0, x, 2}})) << "column " << x;
    EXPECT_EQ(PixelsOf(image, Underneath), Area({{0, 3, 254, 3}}));
}

TEST(ColorsBox, ASingleRowOrColumnIsDrawnInColor2)
{
    TColorsBox row;
    row.resize(7, 1);
    EXPECT_EQ(PixelsOf(Picture(row), Rgb(clBlue)), Area({{0, 0, 6, 0}}));
    TColorsBox column;
    column.SetOrientation(TColorsBox::orHorz);
    column.resize(1, 6);
    EXPECT_EQ(PixelsOf(Picture(column), Rgb(clBlue)), Area({{0, 0, 0, 4}}));
}

TEST(ColorsBox, SystemColoursCountTheirIndexAsRedAndTiesRoundToEven)
{
    TColorsBox box;
    box.SetColor1(clBtnFace);      // index 15
    box.SetColor2(clBtnHighlight); // index 20
    box.resize(1, 5);
    const QImage image = Picture(box);
    const int reds[] = {16, 17, 18, 19, 20};
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(image.pixel(0, y), qRgb(reds[y], 0, 0)) << "row " << y;

    box.SetColor1(RGBColor(0, 0, 0));
    box.SetColor2(RGBColor(1, 3, 0));
    box.resize(1, 2);
    // Row 0 holds red 0.5 and green 1.5.
    EXPECT_EQ(Picture(box).pixel(0, 0), qRgb(0, 2, 0));
}

TEST(ColorsBox, DesignModeDrawsOnlyTheDashedOutline)
{
    TColorsBox box;
    box.resize(40, 30);
    box.SetDesigning(true);
    const QImage image = Picture(box);
    const TPixels black = PixelsOf(image, Rgb(clBlack));
    EXPECT_GT(black.size(), 40u);
    EXPECT_LT(black.size(), 2u * (40 + 30) - 4);
    EXPECT_EQ(black.size() + PixelsOf(image, Underneath).size(), 40u * 30u);
    EXPECT_EQ(PixelsOf(image.copy(1, 1, 38, 28), Underneath).size(), 38u * 28u);
}

} // namespace
