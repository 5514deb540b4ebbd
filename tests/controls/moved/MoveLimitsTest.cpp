#include "MoveLimits.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

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

void PrintTo(const TLimitCase& row, std::ostream* out) { *out << row.Name; }

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
        TLimitCase{"AboveTheTopLimitComesDown", 0, 10, 199, 99, 0, -95, 100, 20, QRect(0, 10, 100, 20)},
        TLimitCase{"TooHighSitsAgainstTheBottomLimit", 0, 0, 199, 9, 0, 0, 100, 20, QRect(0, -10, 100, 20)},
        TLimitCase{"NegativeLimits", -300, -200, -101, -51, 0, 0, 100, 50, QRect(-200, -100, 100, 50)},
        // Here 32-bit arithmetic would wrap the right-most column round to a
        // negative number and let the control past the limit. The last
        // coordinate stays free: QRect could not hold a rectangle ending there.
        TLimitCase{"NearTheLargestCoordinate", Smallest, Smallest, Largest, Largest, Largest - 10, Largest, 100, 20,
                   QRect(Largest - 100, Largest - 20, 100, 20)},
        TLimitCase{"DragProposalBeyond32Bits", 0, 0, 199, 99, std::int64_t(Largest) + 5000, std::int64_t(Smallest) - 1,
                   100, 20, QRect(100, 0, 100, 20)},
        // The right limit at the smallest coordinate leaves no room that a
        // QRect can describe: the control stops at the smallest left edge.
        TLimitCase{"NoRoomAtAll", Smallest, Smallest, Smallest, Smallest, 0, 0, 100, 20,
                   QRect(Smallest, Smallest, 100, 20)}),
    [](const testing::TestParamInfo<TLimitCase>& info) { return std::string(info.param.Name); });

struct TSwapCase {
    const char* Name;
    void (TMoveLimits::*Set)(std::int32_t);
    std::int32_t Value;
    // Left, top, right, bottom afterwards, starting from 100, 50, 300, 250.
    std::int32_t Left, Top, Right, Bottom;
};

void PrintTo(const TSwapCase& row, std::ostream* out) { *out << row.Name; }

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
    testing::Values(TSwapCase{"LeftBeyondRightSwaps", &TMoveLimits::SetLeft, 500, 300, 50, 500, 250},
                    TSwapCase{"RightBeforeLeftSwaps", &TMoveLimits::SetRight, 20, 20, 50, 100, 250},
                    TSwapCase{"TopBelowBottomSwaps", &TMoveLimits::SetTop, 400, 100, 250, 300, 400},
                    TSwapCase{"BottomAboveTopSwaps", &TMoveLimits::SetBottom, -7, 100, -7, 300, 50}),
    [](const testing::TestParamInfo<TSwapCase>& info) { return std::string(info.param.Name); });

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
