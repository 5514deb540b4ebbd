#include "ControlTesting.h"
#include "Slider.h"
#include "TestServices.h"
#include "TestRows.h"

#include <QApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

using namespace ControlTesting;

TEST(SliderPicture, DefaultsDrawTheSlotTicksAndThumb)
{
    TSlider slider;
    const QImage image = Picture(slider);
    // Black: the outer frame, the thumb's ring (10, 37, 39, 46) and a tick on
    // each side of the slot for every value but the thumb's own.
    TPixels black = Area({{0, 0, 48, 0}, {0, 81, 48, 81}, {0, 0, 0, 81}, {48, 0, 48, 81}, {10, 37, 38, 37},
                          {10, 45, 38, 45}, {10, 37, 10, 45}, {38, 37, 38, 45}});
    for (const int y : {11, 17, 23, 29, 35, 47, 53, 59, 65, 71})
        black.merge(Area({{16, y, 19, y}, {29, y, 32, y}}));
    EXPECT_EQ(PixelsOf(image, Rgb(clBlack)), black);
    // The slot frame (21, 6, 28, 76), sunken; inside the thumb three raised
    // rings round the face.
    EXPECT_EQ(Without(Area({{21, 6, 26, 6}, {21, 6, 21, 36}, {21, 46, 21, 74}}), PixelsOf(image, Rgb(clBtnShadow))),
              TPixels());
    EXPECT_EQ(Without(Area({{27, 6, 27, 36}, {21, 75, 27, 75}}), PixelsOf(image, Rgb(clBtnHighlight))), TPixels());
    EXPECT_EQ(image.pixel(22, 7), Rgb(clBtnFace));
    EXPECT_EQ(image.pixel(13, 41), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(14, 41), Rgb(clBtnFace));
    EXPECT_EQ(image.pixel(35, 41), Rgb(clBtnShadow));
}

TEST(SliderPicture, FocusWidensTheOuterFrameAndMovesNothingElse)
{
    THosted<TSlider> host;
    const QImage unfocused = Picture(*host.Control);
    host.Control->setFocus();
    const QImage focused = Picture(*host.Control);
    EXPECT_EQ(focused.pixel(1, 1), Rgb(clBlack));
    EXPECT_EQ(focused.pixel(2, 2), Rgb(clBtnHighlight));
    EXPECT_EQ(focused.copy(3, 3, 43, 76), unfocused.copy(3, 3, 43, 76));
}

TEST(SliderPicture, TicksOffOrPositionOutsideTheRangeLeaveTheirPartsOut)
{
    TSlider slider;
    slider.SetTicksColor(clRed);
    slider.SetTicks(false);
    QImage image = Picture(slider);
    EXPECT_TRUE(PixelsOf(image, Rgb(clRed)).empty());
    EXPECT_EQ(image.pixel(10, 37), Rgb(clBlack));
    EXPECT_EQ(image.pixel(21, 20), Rgb(clBtnShadow));

    slider.SetTicks(true);
    slider.SetMax(3);
    image = Picture(slider);
    EXPECT_EQ(PixelsOf(image, Rgb(clRed)).size(), 4u * 8u);
    EXPECT_EQ(image.pixel(10, 37), Rgb(clBtnFace));
}

TEST(SliderPicture, PositionMovesTheThumbAtOnceAsAFullRepaintWouldDrawIt)
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

TEST(SliderPicture, FollowsTheSystemColoursAndRaisesOnResize)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QSignalSpy resizes(&slider, &TCustomControl::OnResize);
    slider.resize(50, 82);
    slider.resize(50, 82);
    ASSERT_EQ(resizes.size(), 1);
    EXPECT_EQ(resizes[0][0].value<QObject*>(), &slider);
    const QImage before = Picture(slider);
    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Active, QPalette::Button, QColor(0x40, 0x80, 0x20));
    QApplication::setPalette(changed);
    QApplication::processEvents(); // the change reaches widgets as a posted event
    EXPECT_EQ(Picture(slider).pixel(2, 2), qRgb(0x40, 0x80, 0x20));
    QApplication::setPalette(original);
    QApplication::processEvents();
    EXPECT_EQ(Picture(slider), before);
}

struct TSetterCase {
    const char* Name;
    const char* Property;
    int Value;
    const char* Message; // nullptr: no message
    int Stored;
};


class SliderSetter : public testing::TestWithParam<TSetterCase> {};

TEST_P(SliderSetter, ChecksInItsOrderAndKeepsTheOtherValues)
{
    const TSetterCase& row = GetParam();
    TTestServices services;
    TSlider slider;
    slider.setProperty(row.Property, row.Value);
    EXPECT_EQ(services.MessageTexts(), row.Message ? QStringList{QString::fromUtf8(row.Message)} : QStringList());
    const QString name = QString::fromLatin1(row.Property);
    EXPECT_EQ(slider.Max(), name == "Max" ? row.Stored : 10);
    EXPECT_EQ(slider.Min(), name == "Min" ? row.Stored : 0);
    EXPECT_EQ(slider.Position(), name == "Position" ? row.Stored : 5);
}

const char* const BetweenLimits = "Wert muß zwischen -1000 und 1000 sein.";
const char* const AboveMin = "Wert muß größer sein als der Wert von Min.";
const char* const BelowMax = "Wert muß kleiner sein als der Wert von Max.";
const char* const WithinRange = "Aktuelle Position muß >= Min und <= Max sein.";

INSTANTIATE_TEST_SUITE_P(
    Checks, SliderSetter,
    testing::Values(
        TSetterCase{.Name = "MaxAboveLimit", .Property = "Max", .Value = 2000, .Message = BetweenLimits, .Stored = 10},
        TSetterCase{.Name = "MaxBelowMinBeforeLimit", .Property = "Max", .Value = -5000, .Message = AboveMin,
                    .Stored = 10},
        TSetterCase{.Name = "MaxBelowMin", .Property = "Max", .Value = -5, .Message = AboveMin, .Stored = 10},
        TSetterCase{.Name = "MaxBelowPosition", .Property = "Max", .Value = 3, .Message = nullptr, .Stored = 3},
        TSetterCase{.Name = "MinEqualToMax", .Property = "Min", .Value = 10, .Message = BelowMax, .Stored = 0},
        TSetterCase{.Name = "MinBelowLimit", .Property = "Min", .Value = -1001, .Message = BetweenLimits, .Stored = 0},
        TSetterCase{.Name = "MinNegative", .Property = "Min", .Value = -10, .Message = nullptr, .Stored = -10},
        TSetterCase{.Name = "PositionAboveMax", .Property = "Position", .Value = 11, .Message = WithinRange,
                    .Stored = 5},
        TSetterCase{.Name = "PositionAtMin", .Property = "Position", .Value = 0, .Message = nullptr, .Stored = 0}),
    RowName);

TEST(SliderInput, PlusAndMinusStepWhileFocusedAndStopAtTheRange)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    QTest::keyClick(&slider, Qt::Key_Plus);
    EXPECT_EQ(slider.Position(), 5) << "not focused";
    slider.setFocus();
    QTest::keyClicks(&slider, QStringLiteral("+++++++"));
    EXPECT_EQ(slider.Position(), 10);
    EXPECT_EQ(changes.size(), 5);
    QTest::keyClicks(&slider, QStringLiteral("x-"));
    EXPECT_EQ(slider.Position(), 9);
}

// The mouse sees the thumb at row 75 - 6.8 * Position and grabs it within
// x 10..38 and rows 34..50 for the default Position 5.
TEST(SliderInput, DraggingMovesByWholeStepsAndStopsAtTheRange)
{
    THosted<TSlider> host;
    TSlider& slider = *host.Control;
    QSignalSpy changes(&slider, &TSlider::OnChange);
    const auto dragTo = [&slider](int x, int y) { QTest::mouseMove(&slider, QPoint(x, y)); };
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(38, 50));
    EXPECT_TRUE(slider.hasFocus());
    dragTo(38, 50); // grabs, moves nothing
    dragTo(24, 35); // less than a step
    EXPECT_EQ(slider.Position(), 5);
    dragTo(24, 20); // 3.09 steps
    EXPECT_EQ(slider.Position(), 8);
    dragTo(24, 0); // 3.0 steps would pass Max
    EXPECT_EQ(slider.Position(), 8);
    dragTo(0, 7); // 2.0 steps, anywhere across
    EXPECT_EQ(slider.Position(), 10);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(0, 7));
    dragTo(24, 70);
    EXPECT_EQ(slider.Position(), 10) << "released";
    EXPECT_EQ(changes.size(), 2);

    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(24, 30));
    dragTo(24, 30); // below the hit box, rows 0..16 for 10: no grab
    dragTo(24, 70);
    EXPECT_EQ(slider.Position(), 10);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(24, 70));
}

TEST(SliderInput, ASliderTooLowForItsRangeNeverSteps)
{
    for (const int height : {14, 10}) {
        THosted<TSlider> host;
        host.Control->resize(49, height);
        QTest::mousePress(host.Control, Qt::LeftButton, {}, QPoint(24, 5));
        for (const int y : {5, -300, 300})
            QTest::mouseMove(host.Control, QPoint(24, y));
        EXPECT_EQ(host.Control->Position(), 5) << height;
        QTest::mouseRelease(host.Control, Qt::LeftButton, {}, QPoint(24, 300));
    }
}

} // namespace
