#include "MoveLimits.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::int64_t Smallest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Largest = std::numeric_limits<std::int32_t>::max();

// The start of an extent of `size` cells nearest to `start` for which
// QRect's start + size - 1, worked out from the left, stays a 32-bit value;
// a size of 0 ends one before its start.
std::int64_t RepresentableStart(std::int64_t start, std::int64_t size)
{
    const std::int64_t lowest = Smallest + std::max<std::int64_t>(0, 1 - size);
    const std::int64_t highest = Largest - size;
    return std::clamp(start, lowest, highest);
}

// Stores one end of a range; an end written past the other one swaps them,
// so that the range stays ordered.
void SetEnd(std::int32_t& end, std::int32_t& low, std::int32_t& high, std::int32_t value)
{
    end = value;
    if (low > high)
        std::swap(low, high);
}

} // namespace

void TMoveLimits::SetBottom(std::int32_t value) { SetEnd(FBottom, FTop, FBottom, value); }

void TMoveLimits::SetLeft(std::int32_t value) { SetEnd(FLeft, FLeft, FRight, value); }

void TMoveLimits::SetRight(std::int32_t value) { SetEnd(FRight, FLeft, FRight, value); }

void TMoveLimits::SetTop(std::int32_t value) { SetEnd(FTop, FTop, FBottom, value); }

QRect TMoveLimits::Apply(std::int64_t left, std::int64_t top, int width, int height) const
{
    // In 64 bits the right-most column of a control near the largest
    // coordinate cannot wrap round to a small number and slip past the limit.
    if (left < FLeft)
        left = FLeft;
    if (top < FTop)
        top = FTop;
    if (left + width - 1 > FRight)
        left = std::int64_t(FRight) - width + 1;
    if (top + height - 1 > FBottom)
        top = std::int64_t(FBottom) - height + 1;
    return RepresentableBounds(left, top, width, height);
}

QRect RepresentableBounds(std::int64_t left, std::int64_t top, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    return {int(RepresentableStart(left, width)), int(RepresentableStart(top, height)), width, height};
}
