#include "MoveLimits.h"
#include "TestRows.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using TestRows::PrintTo;

constexpr std::int32_t Smallest = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Largest = std::numeric_limits<std::int32_t>::max();

struct TLimitCase {
    const char* Name;
    std::int32_t Left, Top, Right, Bottom;
    // The proposal.
    std::int64_t ProposedLeft, ProposedTop;
    int Width, Height;
    QRect Expected;
};


TMoveLimits LimitsOf(const TLimitCase& row)
{
    TMoveLimits limits;
    limits.SetLeft(row.Left);
    limits.SetRight(row.Right);
    limits.SetTop(row.Top);
    limits.SetBottom(row.Bottom);
    return limits;
}

class LimitedBounds : public testing::TestWithParam<TLimitCase> {};

TEST_P(LimitedBounds, KeepTheSizeAndMoveTheControlInside)
{
    const TLimitCase& row = GetParam();
    EXPECT_EQ(LimitsOf(row).Apply(row.ProposedLeft, row.ProposedTop, row.Width, row.Height), row.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LimitedBounds,
    testing::Values(
        TLimitCase{.Name = "AboveTheTopLimitComesDown", .Left = 0, .Top = 10, .Right = 199, .Bottom = 99,
                   .ProposedLeft = 0, .ProposedTop = -95, .Width = 100, .Height = 20,
                   .Expected = QRect(0, 10, 100, 20)},
        TLimitCase{.Name = "TooHighSitsAgainstTheBottomLimit", .Left = 0, .Top = 0, .Right = 199, .Bottom = 9,
                   .ProposedLeft = 0, .ProposedTop = 0, .Width = 100, .Height = 20,
                   .Expected = QRect(0, -10, 100, 20)},
        TLimitCase{.Name = "NegativeLimits", .Left = -300, .Top = -200, .Right = -101, .Bottom = -51,
                   .ProposedLeft = 0, .ProposedTop = 0, .Width = 100, .Height = 50,
                   .Expected = QRect(-200, -100, 100, 50)},
        // Here 32-bit arithmetic would wrap the right-most column round to a
        // negative number and let the control past the limit. The last
        // coordinate stays free: QRect could not hold a rectangle ending there.
        TLimitCase{.Name = "NearTheLargestCoordinate", .Left = Smallest, .Top = Smallest, .Right = Largest,
                   .Bottom = Largest, .ProposedLeft = Largest - 10, .ProposedTop = Largest, .Width = 100,
                   .Height = 20, .Expected = QRect(Largest - 100, Largest - 20, 100, 20)},
        TLimitCase{.Name = "DragProposalBeyond32Bits", .Left = 0, .Top = 0, .Right = 199, .Bottom = 99,
                   .ProposedLeft = std::int64_t(Largest) + 5000, .ProposedTop = std::int64_t(Smallest) - 1,
                   .Width = 100, .Height = 20, .Expected = QRect(100, 0, 100, 20)},
        // The right limit at the smallest coordinate leaves no room that a
        // QRect can describe: the control stops at the smallest left edge.
        TLimitCase{.Name = "NoRoomAtAll", .Left = Smallest, .Top = Smallest, .Right = Smallest, .Bottom = Smallest,
                   .ProposedLeft = 0, .ProposedTop = 0, .Width = 100, .Height = 20,
                   .Expected = QRect(Smallest, Smallest, 100, 20)}),
    RowName);

struct TSwapCase {
    const char* Name;
    void (TMoveLimits::*Set)(std::int32_t);
    std::int32_t Value;
    // Left, top, right, bottom afterwards, starting from 100, 50, 300, 250.
    std::int32_t Left, Top, Right, Bottom;
};


class LimitSetter : public testing::TestWithParam<TSwapCase> {};

TEST_P(LimitSetter, KeepsEachPairInOrder)
{
    TMoveLimits limits;
    limits.SetLeft(100);
    limits.SetTop(50);
    limits.SetRight(300);
    limits.SetBottom(250);
    const TSwapCase& row = GetParam();
    (limits.*row.Set)(row.Value);
    EXPECT_EQ(limits.Left(), row.Left);
    EXPECT_EQ(limits.Top(), row.Top);
    EXPECT_EQ(limits.Right(), row.Right);
    EXPECT_EQ(limits.Bottom(), row.Bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, LimitSetter,
    testing::Values(TSwapCase{.Name = "LeftBeyondRightSwaps", .Set = &TMoveLimits::SetLeft, .Value = 500,
                              .Left = 300, .Top = 50, .Right = 500, .Bottom = 250},
                    TSwapCase{.Name = "RightBeforeLeftSwaps", .Set = &TMoveLimits::SetRight, .Value = 20,
                              .Left = 20, .Top = 50, .Right = 100, .Bottom = 250},
                    TSwapCase{.Name = "TopBelowBottomSwaps", .Set = &TMoveLimits::SetTop, .Value = 400,
                              .Left = 100, .Top = 250, .Right = 300, .Bottom = 400},
                    TSwapCase{.Name = "BottomAboveTopSwaps", .Set = &TMoveLimits::SetBottom, .Value = -7,
                              .Left = 100, .Top = -7, .Right = 300, .Bottom = 50}),
    RowName);

TEST(RepresentableBounds, MovesOnlyWhatQRectCannotHold)
{
    EXPECT_EQ(RepresentableBounds(-40, 30, 10, 5), QRect(-40, 30, 10, 5));
    EXPECT_EQ(RepresentableBounds(std::int64_t(Largest) + 9, 0, 10, 5), QRect(Largest - 10, 0, 10, 5));
    EXPECT_EQ(RepresentableBounds(0, std::int64_t(Smallest) - 9, 10, 5), QRect(0, Smallest, 10, 5));
    // An empty rectangle ends one before its start.
    EXPECT_EQ(RepresentableBounds(Smallest, 0, 0, 5), QRect(Smallest + 1, 0, 0, 5));
    EXPECT_EQ(RepresentableBounds(3, 4, -5, -6), QRect(3, 4, 0, 0));
}

} // namespace
