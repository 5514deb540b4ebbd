#include "ColorsBox.h"
#include "ControlTesting.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

TEST(ColorsBox, DefaultsRunFromRedToBlueWithOneStepInTheFirstRow)
{
    TColorsBox box;
    box.resize(3, 255);
    const QImage image = Picture(box);
    for (int y = 0; y < 255; ++y)
        ASSERT_EQ(PixelsOf(image, qRgb(255 - (y + 1), 0, y + 1)), Area({{0, y, 2, y}})) << "row " << y;
}

TEST(ColorsBox, HorizontalColumnsLeaveTheBottomRowUnpainted)
{
    TColorsBox box;
    box.SetOrientation(TColorsBox::orHorz);
    box.resize(255, 4);
    const QImage image = Picture(box);
    for (int x = 0; x < 255; ++x)
        ASSERT_EQ(PixelsOf(image, qRgb(255 - (x + 1), 0, x + 1)), Area({{x, 0, x, 2}})) << "column " << x;
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
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(image.pixel(0, y), qRgb(16 + y, 0, 0)) << "row " << y;

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
