#include "ControlSetBase.h"
#include "ControlTesting.h"

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

struct TVersionCase {
    const char* Name;
    double Version;
    const char* Text;
};

void PrintTo(const TVersionCase& row, std::ostream* out) { *out << row.Name; }

class VersionTextOf : public testing::TestWithParam<TVersionCase> {};

TEST_P(VersionTextOf, WritesWholePartAndTwoDigitHundredths)
{
    EXPECT_EQ(VersionText(GetParam().Version), QString::fromLatin1(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionTextOf,
    testing::Values(TVersionCase{"TheSetsOwn", 3.0, "3.00"}, TVersionCase{"HundredthsBelowTen", 3.05, "3.05"},
                    TVersionCase{"TenthsOnly", 3.5, "3.50"}, TVersionCase{"TieRoundsDownToEven", 3.125, "3.12"},
                    TVersionCase{"TieRoundsUpToEven", 3.375, "3.38"}, TVersionCase{"TwoDigitWhole", 10.99, "10.99"},
                    TVersionCase{"BelowOne", 0.07, "0.07"}),
    [](const testing::TestParamInfo<TVersionCase>& info) { return std::string(info.param.Name); });

TEST(AboutText, HasFourParagraphsWithTheClassAndTheVersion)
{
    const QString text = AboutText(QStringLiteral("TSomeControl"), 3.0);
    EXPECT_FALSE(text.contains(QChar('\n')));
    const QStringList paragraphs = text.split(QStringLiteral("\r\r"));
    ASSERT_EQ(paragraphs.size(), 4);
    EXPECT_TRUE(paragraphs[0].contains(QStringLiteral("Qt 6")));
    EXPECT_EQ(paragraphs[1], QStringLiteral("TSomeControl"));
    EXPECT_TRUE(paragraphs[2].startsWith(QStringLiteral("Version 3.00")));
    EXPECT_TRUE(paragraphs[2].contains(sizeof(void*) == 8 ? QStringLiteral("64-Bit") : QStringLiteral("32-Bit")));
    EXPECT_TRUE(paragraphs[3].contains(QStringLiteral("MVKubrin")));
}

// Which colour the frame rule gives a pixel of a 10 x 10 rectangle with two
// rings: the right and bottom edge of each ring, corners included, take the
// bottom colour, the rest of the ring the top colour.
QRgb ExpectedFramePixel(int x, int y, QRgb top, QRgb bottom)
{
    const int ring = std::min({x, y, 9 - x, 9 - y});
    if (ring >= 2)
        return Underneath;
    return (x == 9 - ring || y == 9 - ring) ? bottom : top;
}

TEST(DrawBevelFrame, DrawsRingsInwardWithTheCornerRule)
{
    QImage image = Surface(12, 12);
    TRect inside;
    {
        TCanvas canvas(&image);
        canvas.Pen.Width = 3; // the frame always draws one-pixel lines
        inside = DrawBevelFrame(canvas, {0, 0, 10, 10}, clRed, clBlue, 2);
    }
    EXPECT_EQ(inside, (TRect{2, 2, 8, 8}));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const QRgb expected = x < 10 && y < 10 ? ExpectedFramePixel(x, y, Rgb(clRed), Rgb(clBlue)) : Underneath;
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(DrawBevelFrame, WidthZeroDrawsNothing)
{
    QImage image = Surface(12, 12);
    TRect inside;
    {
        TCanvas canvas(&image);
        inside = DrawBevelFrame(canvas, {1, 2, 10, 11}, clRed, clBlue, 0);
    }
    EXPECT_EQ(inside, (TRect{1, 2, 10, 11}));
    EXPECT_EQ(PixelsOf(image, Underneath).size(), 144u);
}

} // namespace
