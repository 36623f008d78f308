#pragma once

// Pixel and value arithmetic of RangeSlider, apart from the widget so that it is plain code.
// "Along" is the coordinate along the slider (x when horizontal, y when vertical); positions
// are the near edges of the handles' squares.
namespace RangeSliderMath {

constexpr int handleSide = 11;

// What a click on the groove (not a drag) does to the values.
enum class ClickAction
{
    None,
    LowerDown,
    LowerUp,
    UpperDown,
    UpperUp,
};

// Pixels a handle can travel: the length less a pixel at each end and the handles' own sides.
int validLength(int length, bool bothHandles);
// Near edge of the first handle for lowerValue, of the second for upperValue. The second sits
// one handle further along when a first handle is shown, so the two never overlap.
int firstHandlePos(int validLength, int lowerValue, int minimum, int interval);
int secondHandlePos(int validLength, int upperValue, int minimum, int interval, bool leftHandle);
// A click on the groove moves a value by a tenth of the range, at least 1.
int clickStep(int interval);
// What a click at pos does, given the handles' positions f and s and which handles are shown.
ClickAction clickAction(int pos, int f, int s, bool leftHandle, bool rightHandle);
// The values a dragged handle stands for when its centre, less the press offset, is at
// centre. Both are the inverses of the handle positions above (truncated).
int lowerFromDrag(int centre, int validLength, int minimum, int interval);
int upperFromDrag(int centre, int validLength, int minimum, int interval, bool bothHandles);

} // namespace RangeSliderMath
