#include "ControlTesting.h"
#include "Slider.h"
#include "TestServices.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace ControlTesting;

// The rows of the picture that hold a pixel of this colour in column x.
std::vector<int> RowsOf(const QImage& image, int x, QRgb rgb)
{
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == rgb)
            rows.push_back(y);
    return rows;
}

TEST(SliderPicture, DefaultsDrawSlotTicksAndThumb)
{
    TSlider slider;
    const QImage image = Picture(slider);
    const QRgb face = Rgb(clBtnFace);
    const QRgb shadow = Rgb(clBtnShadow);
    const QRgb highlight = Rgb(clBtnHighlight);
    const QRgb black = Rgb(clBlack);

    // Outer frame and raised rim.
    EXPECT_EQ(image.pixel(0, 0), black);
    EXPECT_EQ(image.pixel(48, 81), black);
    EXPECT_EQ(image.pixel(1, 1), highlight);
    EXPECT_EQ(image.pixel(47, 80), shadow);
    EXPECT_EQ(image.pixel(2, 2), face);

    // The sunken slot frame (21, 6, 28, 76), its inside (22, 7, 27, 75);
    // the thumb covers rows 37 to 45.
    EXPECT_EQ(Column(image, 21, 6, 36), std::vector<QRgb>(31, shadow));
    EXPECT_EQ(Column(image, 21, 46, 74), std::vector<QRgb>(29, shadow));
    EXPECT_EQ(Row(image, 6, 21, 26), std::vector<QRgb>(6, shadow));
    EXPECT_EQ(Column(image, 27, 6, 36), std::vector<QRgb>(31, highlight));
    EXPECT_EQ(Column(image, 27, 46, 75), std::vector<QRgb>(30, highlight));
    EXPECT_EQ(Row(image, 75, 21, 27), std::vector<QRgb>(7, highlight));
    EXPECT_EQ(Row(image, 7, 22, 26), std::vector<QRgb>(5, face));

    // A tick for every value, 4 pixels each side; the thumb covers its own.
    // Black in a column is the outer frame (rows 0 and 81), the thumb's
    // ring (37 and 45) and the ticks.
    const std::vector<int> tickColumn{0, 11, 17, 23, 29, 35, 37, 45, 47, 53, 59, 65, 71, 81};
    for (const int x : {16, 19, 29, 32})
        EXPECT_EQ(RowsOf(image, x, black), tickColumn) << "column " << x;
    for (const int x : {15, 20, 28, 33})
        EXPECT_EQ(RowsOf(image, x, black), (std::vector<int>{0, 37, 45, 81})) << "column " << x;
    EXPECT_EQ(Row(image, 47, 15, 33),
              (std::vector<QRgb>{face, black, black, black, black, face, shadow, face, face, face, face, face, highlight,
                                 face, black, black, black, black, face}));

    // The thumb (10, 37, 39, 46): a black ring, three rings raised in the
    // highlight and shadow colours, the face inside.
    EXPECT_EQ(Row(image, 37, 10, 38), std::vector<QRgb>(29, black));
    EXPECT_EQ(Row(image, 45, 10, 38), std::vector<QRgb>(29, black));
    EXPECT_EQ(Column(image, 10, 37, 45), std::vector<QRgb>(9, black));
    EXPECT_EQ(Column(image, 38, 37, 45), std::vector<QRgb>(9, black));
    EXPECT_EQ(image.pixel(9, 41), face);
    EXPECT_EQ(image.pixel(39, 41), face);
    EXPECT_EQ(Row(image, 41, 11, 37),
              (std::vector<QRgb>{highlight, highlight, highlight, face, face, face, face, face, face, face, face, face,
                                 face, face, face, face, face, face, face, face, face, face, face, face, shadow, shadow,
                                 shadow}));
}

TEST(SliderPicture, FocusWidensTheOuterFrameAndMovesNothingElse)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    const QImage unfocused = Picture(slider);
    slider.setFocus();
    ASSERT_TRUE(slider.hasFocus());
    const QImage focused = Picture(slider);
    EXPECT_EQ(focused.pixel(1, 1), Rgb(clBlack));
    EXPECT_EQ(focused.pixel(47, 80), Rgb(clBlack));
    EXPECT_EQ(focused.pixel(2, 2), Rgb(clBtnHighlight));
    EXPECT_EQ(focused.pixel(46, 79), Rgb(clBtnShadow));
    EXPECT_EQ(focused.copy(3, 3, 43, 76), unfocused.copy(3, 3, 43, 76));
}

TEST(SliderPicture, WithoutTicksOnlySlotAndThumbRemain)
{
    TSlider slider;
    slider.SetTicksColor(clRed);
    EXPECT_EQ(PixelsOf(Picture(slider), Rgb(clRed)).size(), 10u * 8u);
    slider.SetTicks(false);
    const QImage image = Picture(slider);
    EXPECT_TRUE(PixelsOf(image, Rgb(clRed)).empty());
    EXPECT_EQ(image.pixel(21, 20), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(10, 37), Rgb(clBlack));
}

TEST(SliderPicture, NoThumbWhilePositionLiesOutsideTheRange)
{
    TSlider slider;
    slider.SetMax(3);
    EXPECT_EQ(slider.Position(), 5);
    const QImage image = Picture(slider);
    // Black: the outer frame and the ticks of 0 to 3, no thumb.
    EXPECT_EQ(PixelsOf(image, Rgb(clBlack)).size(), size_t(2 * 49 + 2 * 80 + 4 * 8));
    EXPECT_EQ(image.pixel(10, 37), Rgb(clBtnFace));
}

TEST(SliderPicture, HigherTicksAreDrawnOverTheThumb)
{
    TSlider slider;
    slider.SetMin(-10);
    slider.SetTicksColor(clRed);
    // 21 ticks 3 pixels apart from 71 up; the thumb for 5 spans rows 22 to
    // 30 and hides the ticks of 4 and 5 but not the one of 6 at row 23.
    std::vector<int> ticks;
    for (int row = 11; row <= 71; row += 3)
        if (row != 26 && row != 29)
            ticks.push_back(row);
    const QImage image = Picture(slider);
    EXPECT_EQ(RowsOf(image, 17, Rgb(clRed)), ticks);
    EXPECT_EQ(RowsOf(image, 31, Rgb(clRed)), ticks);
}

TEST(SliderPosition, MovesTheThumbAtOnceToWhereAFullRepaintWouldDrawIt)
{
    TSlider slider;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    Picture(slider);
    slider.SetPosition(8);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0][0].value<QObject*>(), &slider);
    TSlider fresh;
    fresh.SetPosition(8);
    EXPECT_EQ(Picture(slider), Picture(fresh));
}

struct TSetterCase {
    const char* Name;
    const char* Property;
    int Value;
    const char* Message; // nullptr: accepted or unchanged without a word
    int Stored;
};

void PrintTo(const TSetterCase& row, std::ostream* out) { *out << row.Name; }

class SliderSetter : public testing::TestWithParam<TSetterCase> {};

TEST_P(SliderSetter, ChecksInItsOrderAndKeepsTheOtherValues)
{
    const TSetterCase& row = GetParam();
    TTestServices services;
    TSlider slider;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    slider.setProperty(row.Property, row.Value);
    EXPECT_EQ(slider.property(row.Property).toInt(), row.Stored);
    if (row.Message) {
        ASSERT_EQ(services.Messages.size(), 1u);
        EXPECT_EQ(services.Messages[0].Text, QString::fromUtf8(row.Message));
        EXPECT_EQ(services.Messages[0].Icon, TMessageIcon::Information);
    } else {
        EXPECT_TRUE(services.Messages.empty());
    }
    const QString property = QString::fromLatin1(row.Property);
    EXPECT_EQ(slider.Max(), property == "Max" ? row.Stored : 10);
    EXPECT_EQ(slider.Min(), property == "Min" ? row.Stored : 0);
    EXPECT_EQ(slider.Position(), property == "Position" ? row.Stored : 5);
    EXPECT_EQ(changes.size(), property == "Position" && row.Stored != 5 ? 1 : 0);
}

const char* const BetweenLimits = "Wert muß zwischen -1000 und 1000 sein.";
const char* const AboveMin = "Wert muß größer sein als der Wert von Min.";
const char* const BelowMax = "Wert muß kleiner sein als der Wert von Max.";
const char* const WithinRange = "Aktuelle Position muß >= Min und <= Max sein.";

INSTANTIATE_TEST_SUITE_P(
    Checks, SliderSetter,
    testing::Values(TSetterCase{"MaxAboveLimit", "Max", 2000, BetweenLimits, 10},
                    TSetterCase{"MaxBelowMinBeforeLimit", "Max", -5000, AboveMin, 10},
                    TSetterCase{"MaxBelowMin", "Max", -5, AboveMin, 10},
                    TSetterCase{"MaxEqualToMin", "Max", 0, AboveMin, 10},
                    TSetterCase{"MaxUnchanged", "Max", 10, nullptr, 10},
                    TSetterCase{"MaxAtLimit", "Max", 1000, nullptr, 1000},
                    TSetterCase{"MaxBelowPosition", "Max", 3, nullptr, 3},
                    TSetterCase{"MinEqualToMax", "Min", 10, BelowMax, 0},
                    TSetterCase{"MinAboveMaxBeforeLimit", "Min", 2000, BelowMax, 0},
                    TSetterCase{"MinBelowLimit", "Min", -1001, BetweenLimits, 0},
                    TSetterCase{"MinNegative", "Min", -10, nullptr, -10},
                    TSetterCase{"MinAbovePosition", "Min", 7, nullptr, 7},
                    TSetterCase{"PositionAboveMax", "Position", 11, WithinRange, 5},
                    TSetterCase{"PositionBelowMin", "Position", -1, WithinRange, 5},
                    TSetterCase{"PositionUnchanged", "Position", 5, nullptr, 5},
                    TSetterCase{"PositionAtMax", "Position", 10, nullptr, 10}),
    [](const testing::TestParamInfo<TSetterCase>& info) { return std::string(info.param.Name); });

TEST(SliderKeys, PlusAndMinusStepWhileFocusedAndStopAtTheRange)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    QTest::keyClick(&slider, Qt::Key_Plus, Qt::NoModifier);
    EXPECT_EQ(slider.Position(), 5) << "not focused";

    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Plus, Qt::NoModifier);
    EXPECT_EQ(slider.Position(), 6);
    QTest::keyClicks(&slider, QStringLiteral("++++++"));
    EXPECT_EQ(slider.Position(), 10);
    EXPECT_EQ(changes.size(), 5);

    QTest::keyClicks(&slider, QStringLiteral("x-"));
    EXPECT_EQ(slider.Position(), 9);
    slider.SetMin(8);
    QTest::keyClicks(&slider, QStringLiteral("----"));
    EXPECT_EQ(slider.Position(), 8);
    EXPECT_EQ(changes.size(), 7);
}

TEST(SliderKeys, AStepFromOutsideTheRangeIsRefused)
{
    TTestServices services;
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    slider.SetMax(3);
    slider.setFocus();
    QTest::keyClick(&slider, Qt::Key_Minus, Qt::NoModifier);
    EXPECT_EQ(slider.Position(), 5);
    EXPECT_EQ(services.MessageTexts(), QStringList{QString::fromUtf8(WithinRange)});
}

// With the defaults the mouse sees the thumb at row 75 - 6.8 * (Position - Min)
// and grabs it within x 10..38 and rows pyi - 7 .. pyi + 9.
TEST(SliderDrag, MovesByWholeStepsAndStopsAtTheRange)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(24, 41));
    EXPECT_TRUE(slider.hasFocus());
    QTest::mouseMove(&slider, QPoint(24, 41));
    EXPECT_EQ(slider.Position(), 5) << "grabbing does not move";

    QTest::mouseMove(&slider, QPoint(24, 35));
    EXPECT_EQ(slider.Position(), 5) << "less than a step";
    QTest::mouseMove(&slider, QPoint(24, 34));
    EXPECT_EQ(slider.Position(), 6);
    QTest::mouseMove(&slider, QPoint(24, 20)); // 34.2 - 20 = 2.09 steps
    EXPECT_EQ(slider.Position(), 8);
    QTest::mouseMove(&slider, QPoint(24, 0)); // 3.0 steps would pass Max
    EXPECT_EQ(slider.Position(), 8);
    QTest::mouseMove(&slider, QPoint(40, 7)); // 2.0 steps, anywhere across
    EXPECT_EQ(slider.Position(), 10);
    QTest::mouseMove(&slider, QPoint(40, 60)); // back down
    EXPECT_EQ(slider.Position(), 3);
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(40, 60));
    EXPECT_EQ(changes.size(), 4);

    QTest::mouseMove(&slider, QPoint(24, 10));
    EXPECT_EQ(slider.Position(), 3) << "released";
}

struct TGrabCase {
    const char* Name;
    QPoint At;
    bool Grabs;
};

void PrintTo(const TGrabCase& row, std::ostream* out) { *out << row.Name; }

class SliderGrab : public testing::TestWithParam<TGrabCase> {};

TEST_P(SliderGrab, StartsADragOnlyInsideTheHitBox)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    const QPoint at = GetParam().At;
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseMove(&slider, at);
    // Two whole steps above the thumb's row 41 as the mouse computes it.
    QTest::mouseMove(&slider, QPoint(24, 27));
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(24, 27));
    EXPECT_EQ(slider.Position(), GetParam().Grabs ? 7 : 5);
}

INSTANTIATE_TEST_SUITE_P(HitBox, SliderGrab,
                         testing::Values(TGrabCase{"Centre", {24, 41}, true}, TGrabCase{"LeftEdge", {10, 41}, true},
                                         TGrabCase{"LeftOutside", {9, 41}, false},
                                         TGrabCase{"RightEdge", {38, 41}, true},
                                         TGrabCase{"RightOutside", {39, 41}, false},
                                         TGrabCase{"TopEdge", {24, 34}, true},
                                         TGrabCase{"TopOutside", {24, 33}, false},
                                         TGrabCase{"BottomEdge", {24, 50}, true},
                                         TGrabCase{"BottomOutside", {24, 51}, false}),
                         [](const testing::TestParamInfo<TGrabCase>& info) { return std::string(info.param.Name); });

TEST(SliderDrag, OtherButtonsDoNotDrag)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QTest::mousePress(&slider, Qt::RightButton, Qt::NoModifier, QPoint(24, 41));
    EXPECT_TRUE(slider.hasFocus());
    QTest::mouseMove(&slider, QPoint(24, 41));
    QTest::mouseMove(&slider, QPoint(24, 20));
    QTest::mouseRelease(&slider, Qt::RightButton, Qt::NoModifier, QPoint(24, 20));
    EXPECT_EQ(slider.Position(), 5);
}

TEST(SliderDrag, ASliderTooLowForItsRangeNeverSteps)
{
    for (const int height : {14, 10}) {
        THosted<TSlider> host;
        TSlider& slider = *host.Control;
        slider.resize(49, height);
        QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(24, 5));
        QTest::mouseMove(&slider, QPoint(24, 5));
        QTest::mouseMove(&slider, QPoint(24, -300));
        QTest::mouseMove(&slider, QPoint(24, 300));
        QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(24, 300));
        EXPECT_EQ(slider.Position(), 5) << height;
    }
}

} // namespace
