#pragma once

#include <QRect>

#include <cstdint>
#include <limits>

// The rectangle a movable control may occupy, in its parent's client
// coordinates: the smallest Left and Top, the largest right-most column
// (Left + Width - 1) and bottom-most row (Top + Height - 1). The defaults
// restrict nothing.
class TMoveLimits {
public:
    std::int32_t Bottom() const { return FBottom; }
    std::int32_t Left() const { return FLeft; }
    std::int32_t Right() const { return FRight; }
    std::int32_t Top() const { return FTop; }

    // Each setter stores its value and, when that turns the pair around,
    // exchanges the two values of the pair. Nothing is moved: the limits take
    // effect at the next change of the control's bounds.
    void SetBottom(std::int32_t value);
    void SetLeft(std::int32_t value);
    void SetRight(std::int32_t value);
    void SetTop(std::int32_t value);

    // The bounds for a proposed position and size. The size is kept; the
    // left and top limits are applied before the right and bottom ones, so
    // that a control larger than the space between its limits sits against
    // the right (bottom) limit and starts before the left (top) one.
    QRect Apply(std::int64_t left, std::int64_t top, int width, int height) const;

private:
    std::int32_t FBottom = std::numeric_limits<std::int32_t>::max();
    std::int32_t FLeft = std::numeric_limits<std::int32_t>::min();
    std::int32_t FRight = std::numeric_limits<std::int32_t>::max();
    std::int32_t FTop = std::numeric_limits<std::int32_t>::min();
};

// The rectangle at (left, top) of the given size, moved just as far as
// needed for QRect to hold it: QRect adds the width to the left edge before
// it subtracts 1, so left + width (and top + height) must stay a 32-bit
// value, and the right-most column can never be the very largest one. Sizes
// below 0 count as 0. Any other rectangle is returned unchanged.
QRect RepresentableBounds(std::int64_t left, std::int64_t top, int width, int height);
