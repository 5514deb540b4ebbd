#include "Canvas.h"
#include "Colors.h"
#include "TestRows.h"
#include "WidgetTesting.h"

#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr QRgb Back = 0xFF000000;

QImage Surface(int width = 40, int height = 30)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Back);
    return image;
}

using WidgetTesting::PixelsOf;
using WidgetTesting::Rgb;
using WidgetTesting::TPixels;
using TestRows::PrintTo;

TEST(Canvas, RectangleExcludesRightAndBottomAndFillsTheInside)
{
    QImage image = Surface();
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clRed;
        canvas.Brush.Color = clBlue;
        canvas.Rectangle(0, 0, 19, 17);
    }
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            QRgb expected = Back;
            if (x <= 18 && y <= 16)
                expected = (x == 0 || y == 0 || x == 18 || y == 16) ? Rgb(clRed) : Rgb(clBlue);
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(Canvas, TinyRectanglesAreAllOutline)
{
    QImage image = Surface();
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clRed;
        canvas.Brush.Color = clBlue;
        canvas.Rectangle(5, 5, 6, 6);
        canvas.Rectangle(10, 10, 12, 12);
        canvas.Rectangle(20, 20, 20, 25); // no width: nothing
    }
    const TPixels red{{5, 5}, {10, 10}, {11, 10}, {10, 11}, {11, 11}};
    EXPECT_EQ(PixelsOf(image, Rgb(clRed)), red);
    EXPECT_TRUE(PixelsOf(image, Rgb(clBlue)).empty());
}

TEST(Canvas, ClearBrushLeavesTheInside)
{
    QImage image = Surface();
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clWhite;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Rectangle(2, 2, 6, 6);
    }
    EXPECT_EQ(PixelsOf(image, Rgb(clWhite)).size(), 12u);
    EXPECT_EQ(image.pixel(3, 3), Back);
}

struct TLineCase {
    const char* Name;
    QPoint From;
    QPoint To;
    TPixels Pixels;
};

class CanvasLine : public testing::TestWithParam<TLineCase> {};

TEST_P(CanvasLine, DrawsWithoutItsEndPoint)
{
    const TLineCase& line = GetParam();
    QImage image = Surface(12, 12);
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clLime;
        canvas.MoveTo(line.From.x(), line.From.y());
        canvas.LineTo(line.To.x(), line.To.y());
        EXPECT_EQ(canvas.PenPos(), line.To);
    }
    EXPECT_EQ(PixelsOf(image, Rgb(clLime)), line.Pixels);
}

INSTANTIATE_TEST_SUITE_P(
    AllDirections, CanvasLine,
    testing::Values(TLineCase{"Right", {2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
                    TLineCase{"Left", {6, 5}, {2, 5}, {{3, 5}, {4, 5}, {5, 5}, {6, 5}}},
                    TLineCase{"Down", {4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
                    TLineCase{"Up", {4, 4}, {4, 1}, {{4, 2}, {4, 3}, {4, 4}}},
                    TLineCase{"Diagonal", {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
                    TLineCase{"Point", {3, 3}, {3, 3}, {}}),
    RowName);

TEST(Canvas, DrawingOutsideTheSurfaceIsClipped)
{
    QImage image = Surface(10, 10);
    {
        TCanvas canvas(&image);
        canvas.Pen.Color = clRed;
        canvas.Brush.Color = clRed;
        canvas.Rectangle(-5, -17, 14, 0);
        canvas.Rectangle(8, 8, 30, 30);
    }
    EXPECT_EQ(PixelsOf(image, Rgb(clRed)).size(), 4u);
}

TEST(Canvas, SystemColoursFollowThePalette)
{
    EXPECT_EQ(ToQColor(clBtnFace), QPalette().color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(ToQColor(clBtnShadow), QPalette().color(QPalette::Active, QPalette::Dark));
    EXPECT_EQ(ToQColor(clBtnHighlight), QPalette().color(QPalette::Active, QPalette::Light));
    EXPECT_EQ(ToQColor(0x00336699u), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(FromQColor(QColor(0x99, 0x66, 0x33)), 0x00336699u);
}

TEST(Canvas, TextIsDrawnInTheFontColourWithoutBackground)
{
    QImage image = Surface(60, 20);
    {
        TCanvas canvas(&image);
        canvas.FontColor = clWhite;
        canvas.DrawText(QStringLiteral("Abc"), {0, 0, 60, 20}, TextFormat::Left);
    }
    EXPECT_FALSE(PixelsOf(image, Rgb(clWhite)).empty());
    EXPECT_EQ(image.pixel(59, 19), Back);
}

TEST(DrawBevelFrame, DrawsRingsInwardWithTheCornerRule)
{
    QImage image(12, 12, QImage::Format_RGB32);
    image.fill(Back);
    TCanvas canvas(&image);
    canvas.Pen.Width = 3; // the frame always draws one-pixel lines
    EXPECT_EQ(DrawBevelFrame(canvas, {1, 1, 5, 5}, clRed, clBlue, 0), (TRect{1, 1, 5, 5}));
    EXPECT_EQ(DrawBevelFrame(canvas, {0, 0, 10, 10}, clRed, clBlue, 2), (TRect{2, 2, 8, 8}));
    canvas.Release();
    // Two rings: the left and top edges red, the right and bottom edges and
    // the top-right and bottom-left corners blue.
    const std::vector<std::string> expected = {
        "rrrrrrrrrb..",
        "rrrrrrrrbb..",
        "rr......bb..",
        "rr......bb..",
        "rr......bb..",
        "rr......bb..",
        "rr......bb..",
        "rr......bb..",
        "rbbbbbbbbb..",
        "bbbbbbbbbb..",
        "............",
        "............",
    };
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const char pixel = expected[y][x];
            const QRgb color = pixel == 'r' ? Rgb(clRed) : pixel == 'b' ? Rgb(clBlue) : Back;
            ASSERT_EQ(image.pixel(x, y), color) << x << "," << y;
        }
}

} // namespace
