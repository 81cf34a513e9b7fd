#pragma once
// Arithmetic of the desktop layout: a window's desktop is its horizontal
// position, in whole screen widths away from the screen.
#include <cstdint>

#include "platform/types.h"

namespace desktops {

constexpr int kDesktopCount = 4;
constexpr int kDesktopMask = kDesktopCount - 1;

// Desktop index arithmetic keeps the two low bits.
constexpr int WrapDesktop(int desktop) { return desktop & kDesktopMask; }

// Left edge of a window shifted by `shift` pixels, brought into the range
// -w .. 3w by whole multiples of 4w. Both range tests are strict, so an edge
// at exactly -w or 3w stays.
std::int32_t ShiftedLeft(std::int32_t left, std::int64_t shift, std::int32_t screenWidth);

// Which desktop, relative to the current one, a window stands on, judged by
// the horizontal centre of its rectangle taken modulo four screen widths, as
// the parking wraps it: 0 on the screen, 1 and 2 one and two widths to the
// right, -1 in the last width (one desktop back, whether left of the screen
// or wrapped round to the right).
int DesktopOffsetOf(const platform::Rect& rect, std::int32_t screenWidth);

}  // namespace desktops
