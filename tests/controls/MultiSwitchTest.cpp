#include "ControlTesting.h"
#include "MultiSwitch.h"
#include "TestRows.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using TestRows::PrintTo;

using namespace ControlTesting;

// Colours of their own, so that every lamp's inside can be told apart.
void Colour(TMultiSwitch& control)
{
    control.SetAllOffColor(clYellow);
    control.SetTopOnColor(clLime);
    control.SetMiddleOnColor(clAqua);
    control.SetBottomOnColor(clFuchsia);
}

TEST(MultiSwitchPicture, DefaultsShowThreeLampsWithTheirMarks)
{
    TMultiSwitch control;
    Colour(control);
    const QImage image = Picture(control);
    // Lamps (3, 3, 22, 14), (3, 15, 22, 26), (3, 27, 22, 38) inside two rings
    // each; the minus on row 8 from x 9 to 14, the plus on row 32 from x 9 to
    // 15 and in column 12 from row 29 to 35.
    const TPixels minus = Area({{9, 8, 14, 8}});
    const TPixels plus = Area({{9, 32, 15, 32}, {12, 29, 12, 35}});
    EXPECT_EQ(PixelsOf(image, Rgb(clLime)), Without(Area({{5, 5, 19, 11}}), minus));
    EXPECT_EQ(PixelsOf(image, Rgb(clYellow)), Without(Area({{5, 17, 19, 23}, {5, 29, 19, 35}}), plus));
    EXPECT_EQ(PixelsOf(image, Rgb(clFuchsia)), plus);
    EXPECT_EQ(Without(minus, PixelsOf(image, Rgb(clWhite))), TPixels());
    // The lit lamp is pressed in, the others stand out.
    EXPECT_EQ(image.pixel(3, 3), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(21, 13), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(4, 4), Rgb(clWindowFrame));
    EXPECT_EQ(image.pixel(21, 25), Rgb(clWindowFrame));
    EXPECT_EQ(image.pixel(4, 16), Rgb(clBtnHighlight));
}

TEST(MultiSwitchPicture, TwoLampsWithValueTwoLightNone)
{
    TMultiSwitch control;
    Colour(control);
    control.SetSwitchCount(2);
    control.SetOnValue(2);
    const QImage image = Picture(control);
    // Lamps (3, 3, 22, 20) and (3, 21, 22, 38); the plus centred on row 29.
    const TPixels minus = Area({{9, 11, 14, 11}});
    const TPixels plus = Area({{9, 29, 15, 29}, {12, 26, 12, 33}});
    TPixels marks = minus;
    marks.merge(TPixels(plus));
    EXPECT_EQ(PixelsOf(image, Rgb(clYellow)), Without(Area({{5, 5, 19, 17}, {5, 23, 19, 35}}), marks));
    EXPECT_EQ(PixelsOf(image, Rgb(clLime)), minus);
    EXPECT_EQ(PixelsOf(image, Rgb(clFuchsia)), plus);
}

struct TOnValueCase {
    const char* Name;
    std::uint8_t Start;
    std::uint8_t Written;
    std::uint8_t Stored;
    int Changes;
};


class MultiSwitchOnValue : public testing::TestWithParam<TOnValueCase> {};

TEST_P(MultiSwitchOnValue, ComparesBeforeLimiting)
{
    TMultiSwitch control;
    control.SetOnValue(GetParam().Start);
    QSignalSpy changes(&control, &TMultiSwitch::OnChange);
    control.SetOnValue(GetParam().Written);
    EXPECT_EQ(control.OnValue(), GetParam().Stored);
    EXPECT_EQ(changes.size(), GetParam().Changes);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MultiSwitchOnValue,
    testing::Values(
        TOnValueCase{.Name = "ZeroWhileTwo", .Start = 2, .Written = 0, .Stored = 1, .Changes = 1},
        TOnValueCase{.Name = "ZeroWhileOneStillChanges", .Start = 1, .Written = 0, .Stored = 1, .Changes = 1},
        TOnValueCase{.Name = "SameValue", .Start = 1, .Written = 1, .Stored = 1, .Changes = 0},
        TOnValueCase{.Name = "AboveThreeWhileThree", .Start = 3, .Written = 255, .Stored = 3, .Changes = 1}),
    RowName);

TEST(MultiSwitch, PlusJumpsToTheBottomAndMinusToTheTopWhileFocused)
{
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    QTest::keyClick(&control, Qt::Key_Plus);
    EXPECT_EQ(control.OnValue(), 1) << "not focused";
    control.setFocus();
    QTest::keyClick(&control, Qt::Key_Plus);
    EXPECT_EQ(control.OnValue(), 3);
    QTest::keyClick(&control, Qt::Key_Minus);
    EXPECT_EQ(control.OnValue(), 1);
}

struct THitCase {
    const char* Name;
    std::uint8_t SwitchCount;
    Qt::MouseButton Button;
    QPoint At;
    std::uint8_t Selected; // 0: nothing selected
};


class MultiSwitchPress : public testing::TestWithParam<THitCase> {};

TEST_P(MultiSwitchPress, SelectsTheLampWhoseHitBoxHoldsThePoint)
{
    const THitCase& row = GetParam();
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    control.SetSwitchCount(row.SwitchCount);
    control.SetOnValue(row.Selected == 2 ? 3 : 2); // a value the press would not give
    const std::uint8_t before = control.OnValue();
    QTest::mousePress(&control, row.Button, {}, row.At);
    EXPECT_TRUE(control.hasFocus());
    EXPECT_EQ(control.OnValue(), row.Selected ? row.Selected : before);
    QTest::mouseRelease(&control, row.Button, {}, row.At);
}

INSTANTIATE_TEST_SUITE_P(
    HitBoxes, MultiSwitchPress,
    testing::Values(
        THitCase{.Name = "AboveTheTop", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 0}, .Selected = 0},
        THitCase{.Name = "TopFirstRow", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 1}, .Selected = 1},
        THitCase{.Name = "TopLastRow", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 13}, .Selected = 1},
        THitCase{.Name = "MiddleFirstRow", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 14}, .Selected = 2},
        THitCase{.Name = "MiddleLastRowRightButton", .SwitchCount = 3, .Button = Qt::RightButton, .At = {12, 26},
                 .Selected = 2},
        THitCase{.Name = "BottomFirstRow", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 27}, .Selected = 3},
        THitCase{.Name = "BottomLastRow", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {24, 39}, .Selected = 3},
        THitCase{.Name = "BelowTheBottom", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {12, 40}, .Selected = 0},
        THitCase{.Name = "LeftOfTheLamps", .SwitchCount = 3, .Button = Qt::LeftButton, .At = {0, 20}, .Selected = 0},
        THitCase{.Name = "TwoLampsLower", .SwitchCount = 2, .Button = Qt::LeftButton, .At = {1, 21}, .Selected = 3}),
    RowName);

} // namespace
