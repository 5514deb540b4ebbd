#include "ControlTesting.h"
#include "MultiSwitch.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace ControlTesting;

using TPixels = std::set<std::pair<int, int>>;

TPixels Area(int left, int top, int right, int bottom)
{
    TPixels pixels;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            pixels.emplace(x, y);
    return pixels;
}

TPixels Set(const std::vector<std::pair<int, int>>& pixels) { return TPixels(pixels.begin(), pixels.end()); }

// The highlight colour may be white as well, so white marks are looked for
// among all white pixels.
bool Includes(const TPixels& pixels, const TPixels& part)
{
    return std::includes(pixels.begin(), pixels.end(), part.begin(), part.end());
}

TPixels Without(TPixels pixels, const TPixels& taken)
{
    for (const auto& pixel : taken)
        pixels.erase(pixel);
    return pixels;
}

// The switch with colours of its own, so every lamp's inside can be told
// from the case.
void Colour(TMultiSwitch& control)
{
    control.SetAllOffColor(clYellow);
    control.SetTopOnColor(clLime);
    control.SetMiddleOnColor(clAqua);
    control.SetBottomOnColor(clFuchsia);
}

// The minus on row 8 from x 9 to 14; the plus on row 32 from x 9 to 15 and
// in column 12 from row 29 to 35.
const TPixels Minus = Area(9, 8, 15, 9);
const TPixels Plus = [] {
    TPixels plus = Area(9, 32, 16, 33);
    plus.merge(Area(12, 29, 13, 36));
    return plus;
}();

TEST(MultiSwitchPicture, DefaultsLightTheTopLampWithAWhiteMinus)
{
    TMultiSwitch control;
    Colour(control);
    const QImage image = Picture(control);
    // Lamps (3, 3, 22, 14), (3, 15, 22, 26), (3, 27, 22, 38), each inside
    // two rings.
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clLime))), Without(Area(5, 5, 20, 12), Minus));
    EXPECT_TRUE(Includes(Set(PixelsOf(image, Rgb(clWhite))), Minus));
    TPixels off = Area(5, 17, 20, 24);
    off.merge(Without(Area(5, 29, 20, 36), Plus));
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clYellow))), off);
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clFuchsia))), Plus);
    EXPECT_TRUE(PixelsOf(image, Rgb(clAqua)).empty());

    // The lit lamp is pressed in, the others stand out.
    EXPECT_EQ(image.pixel(3, 3), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(21, 13), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(4, 4), Rgb(clWindowFrame));
    EXPECT_EQ(image.pixel(20, 12), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(3, 15), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(21, 25), Rgb(clWindowFrame));
    EXPECT_EQ(image.pixel(4, 16), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(20, 24), Rgb(clBtnShadow));

    // The black frame and the case around the lamps.
    EXPECT_EQ(Row(image, 0, 0, 24), std::vector<QRgb>(25, Rgb(clBlack)));
    EXPECT_EQ(image.pixel(1, 1), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(23, 39), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(2, 2), Rgb(clBtnShadow));
    EXPECT_EQ(image.pixel(22, 38), Rgb(clBtnHighlight));
    EXPECT_EQ(image.pixel(3, 14), Rgb(clBtnFace));
}

TEST(MultiSwitchPicture, BottomLampLitTurnsThePlusWhite)
{
    TMultiSwitch control;
    Colour(control);
    control.SetOnValue(3);
    const QImage image = Picture(control);
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clFuchsia))), Without(Area(5, 29, 20, 36), Plus));
    EXPECT_TRUE(Includes(Set(PixelsOf(image, Rgb(clWhite))), Plus));
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clLime))), Minus);
}

TEST(MultiSwitchPicture, TwoLampsWithValueTwoLightNone)
{
    TMultiSwitch control;
    Colour(control);
    control.SetSwitchCount(2);
    control.SetOnValue(2);
    const QImage image = Picture(control);
    // seg 17: lamps (3, 3, 22, 20) and (3, 21, 22, 38); the plus centred on
    // row 29 reaches from row 26 to row 33.
    TPixels plus = Area(9, 29, 16, 30);
    plus.merge(Area(12, 26, 13, 34));
    const TPixels minus = Area(9, 11, 15, 12);
    TPixels off = Without(Area(5, 5, 20, 18), minus);
    off.merge(Without(Area(5, 23, 20, 36), plus));
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clYellow))), off);
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clLime))), minus);
    EXPECT_EQ(Set(PixelsOf(image, Rgb(clFuchsia))), plus);
}

TEST(MultiSwitchPicture, FocusWidensTheFrameAndMovesNoLamp)
{
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    const QImage unfocused = Picture(control);
    control.setFocus();
    const QImage focused = Picture(control);
    EXPECT_EQ(focused.pixel(1, 1), Rgb(clBlack));
    EXPECT_EQ(focused.pixel(23, 39), Rgb(clBlack));
    EXPECT_EQ(focused.pixel(2, 2), Rgb(clBtnHighlight));
    for (const QRect lamp : {QRect(3, 3, 19, 11), QRect(3, 15, 19, 11), QRect(3, 27, 19, 11)})
        EXPECT_EQ(focused.copy(lamp), unfocused.copy(lamp)) << lamp.y();
}

TEST(MultiSwitchPicture, ColorDoesNotChangeThePicture)
{
    TMultiSwitch control;
    const QImage before = Picture(control);
    control.SetColor(clRed);
    EXPECT_EQ(Picture(control), before);
}

struct TOnValueCase {
    const char* Name;
    std::uint8_t Start;
    std::uint8_t Written;
    std::uint8_t Stored;
    bool Changes;
};

void PrintTo(const TOnValueCase& row, std::ostream* out) { *out << row.Name; }

class MultiSwitchOnValue : public testing::TestWithParam<TOnValueCase> {};

TEST_P(MultiSwitchOnValue, ComparesBeforeLimiting)
{
    const TOnValueCase& row = GetParam();
    TMultiSwitch control;
    control.SetOnValue(row.Start);
    QSignalSpy changes(&control, &TMultiSwitch::OnChange);
    control.SetOnValue(row.Written);
    EXPECT_EQ(control.OnValue(), row.Stored);
    EXPECT_EQ(changes.size(), row.Changes ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MultiSwitchOnValue,
    testing::Values(TOnValueCase{"ZeroWhileTwo", 2, 0, 1, true}, TOnValueCase{"ZeroWhileOneStillChanges", 1, 0, 1, true},
                    TOnValueCase{"SameValue", 1, 1, 1, false}, TOnValueCase{"Middle", 1, 2, 2, true},
                    TOnValueCase{"AboveThree", 1, 7, 3, true}, TOnValueCase{"AboveThreeWhileThree", 3, 255, 3, true}),
    [](const testing::TestParamInfo<TOnValueCase>& info) { return std::string(info.param.Name); });

TEST(MultiSwitch, SwitchCountIsLimitedToTwoOrThreeWithoutAnEvent)
{
    TMultiSwitch control;
    QSignalSpy changes(&control, &TMultiSwitch::OnChange);
    control.SetSwitchCount(5);
    EXPECT_EQ(control.SwitchCount(), 3);
    control.SetSwitchCount(1);
    EXPECT_EQ(control.SwitchCount(), 2);
    control.SetSwitchCount(0);
    EXPECT_EQ(control.SwitchCount(), 2);
    EXPECT_EQ(changes.size(), 0);
}

TEST(MultiSwitchKeys, PlusJumpsToTheBottomAndMinusToTheTopWhileFocused)
{
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    QSignalSpy changes(&control, &TMultiSwitch::OnChange);
    QTest::keyClick(&control, Qt::Key_Plus, Qt::NoModifier);
    EXPECT_EQ(control.OnValue(), 1) << "not focused";
    control.setFocus();
    QTest::keyClick(&control, Qt::Key_Plus, Qt::NoModifier);
    EXPECT_EQ(control.OnValue(), 3);
    QTest::keyClicks(&control, QStringLiteral("+2"));
    EXPECT_EQ(control.OnValue(), 3);
    QTest::keyClick(&control, Qt::Key_Minus, Qt::NoModifier);
    EXPECT_EQ(control.OnValue(), 1);
    EXPECT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0][0].value<QObject*>(), &control);
}

struct THitCase {
    const char* Name;
    std::uint8_t SwitchCount;
    QPoint At;
    std::uint8_t Selected; // 0: the press selects nothing
};

void PrintTo(const THitCase& row, std::ostream* out) { *out << row.Name; }

class MultiSwitchHit : public testing::TestWithParam<THitCase> {};

TEST_P(MultiSwitchHit, APressOnALampSelectsIt)
{
    const THitCase& row = GetParam();
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    control.SetSwitchCount(row.SwitchCount);
    // Start from a value the press would not give.
    control.SetOnValue(row.Selected == 2 ? 3 : 2);
    const std::uint8_t before = control.OnValue();
    QTest::mousePress(&control, Qt::LeftButton, Qt::NoModifier, row.At);
    EXPECT_TRUE(control.hasFocus());
    EXPECT_EQ(control.OnValue(), row.Selected ? row.Selected : before);
    QTest::mouseRelease(&control, Qt::LeftButton, Qt::NoModifier, row.At);
}

INSTANTIATE_TEST_SUITE_P(
    HitBoxes, MultiSwitchHit,
    testing::Values(THitCase{"AboveTheTopLamp", 3, {12, 0}, 0}, THitCase{"TopFirstRow", 3, {12, 1}, 1},
                    THitCase{"TopLastRow", 3, {12, 13}, 1}, THitCase{"MiddleFirstRow", 3, {12, 14}, 2},
                    THitCase{"MiddleLastRow", 3, {12, 26}, 2}, THitCase{"BottomFirstRow", 3, {12, 27}, 3},
                    THitCase{"BottomLastRow", 3, {12, 39}, 3}, THitCase{"BelowTheBottomLamp", 3, {12, 40}, 0},
                    THitCase{"LeftColumn", 3, {1, 20}, 2}, THitCase{"LeftOfTheLamps", 3, {0, 20}, 0},
                    THitCase{"RightColumn", 3, {24, 20}, 2}, THitCase{"TwoLampsTop", 2, {12, 20}, 1},
                    THitCase{"TwoLampsLower", 2, {12, 21}, 3}, THitCase{"TwoLampsBelow", 2, {12, 40}, 3}),
    [](const testing::TestParamInfo<THitCase>& info) { return std::string(info.param.Name); });

TEST(MultiSwitch, ARightButtonPressSelectsALamp)
{
    THosted<TMultiSwitch> host;
    TMultiSwitch& control = *host.Control;
    QSignalSpy changes(&control, &TMultiSwitch::OnChange);
    QTest::mousePress(&control, Qt::RightButton, Qt::NoModifier, QPoint(12, 20));
    EXPECT_EQ(control.OnValue(), 2);
    EXPECT_TRUE(control.hasFocus());
    EXPECT_EQ(changes.size(), 1);
    QTest::mouseRelease(&control, Qt::RightButton, Qt::NoModifier, QPoint(12, 20));
}

} // namespace
