#include "rangeslidermath.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace RangeSliderMath {

namespace {
// valid length × value offset / interval, truncated; an empty range puts the handle at the
// start instead of dividing by zero.
int scaled(int validLength, int offset, int interval)
{
    if (interval == 0)
        return 0;
    return static_cast<int>(double(validLength) * offset / interval);
}

// The inverse: the value for a pixel offset. A slider too short to travel stays at the start; a
// pointer dragged far beyond the ends gives the nearest int rather than an overflow.
int unscaled(int minimum, int pixels, int validLength, int interval)
{
    if (validLength <= 0)
        return minimum;
    const double value = std::trunc(double(interval) * pixels / validLength) + minimum;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}
} // namespace

int validLength(int length, bool bothHandles)
{
    return length - 2 - (bothHandles ? 2 * handleSide : handleSide);
}

int firstHandlePos(int validLength, int lowerValue, int minimum, int interval)
{
    return scaled(validLength, lowerValue - minimum, interval) + 1;
}

int secondHandlePos(int validLength, int upperValue, int minimum, int interval, bool leftHandle)
{
    return scaled(validLength, upperValue - minimum, interval) + 1 + (leftHandle ? handleSide : 0);
}

int clickStep(int interval)
{
    return std::max(1, interval / 10);
}

ClickAction clickAction(int pos, int f, int s, bool leftHandle, bool rightHandle)
{
    if (pos < f)
        return ClickAction::LowerDown;
    const bool pastFirst = pos > f + handleSide || !leftHandle;
    const bool beforeSecond = pos < s || !rightHandle;
    if (pastFirst && beforeSecond) {
        if (leftHandle && rightHandle) {
            // Between the handles the nearer one moves towards the click.
            const int gapStart = f + handleSide;
            return pos - gapStart >= (s - gapStart) / 2 ? ClickAction::UpperDown : ClickAction::LowerUp;
        }
        if (leftHandle)
            return ClickAction::LowerUp;
        if (rightHandle)
            return ClickAction::UpperDown;
        return ClickAction::None;
    }
    if (pos > s + handleSide)
        return ClickAction::UpperUp;
    return ClickAction::None;
}

int lowerFromDrag(int centre, int validLength, int minimum, int interval)
{
    return unscaled(minimum, centre - 6, validLength, interval);
}

int upperFromDrag(int centre, int validLength, int minimum, int interval, bool bothHandles)
{
    return unscaled(minimum, centre - 6 - (bothHandles ? handleSide : 0), validLength, interval);
}

} // namespace RangeSliderMath
