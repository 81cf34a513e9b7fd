#include "desktops/layout.h"

namespace desktops {

std::int32_t ShiftedLeft(std::int32_t left, std::int64_t shift, std::int32_t screenWidth) {
  std::int64_t x = static_cast<std::int64_t>(left) + shift;
  const std::int64_t w = screenWidth;
  if (w <= 0) return left;  // no screen to measure by: leave the window be
  const std::int64_t period = kDesktopCount * w;
  // Same result as adding or subtracting 4w one step at a time, without the
  // loop running long for an edge far outside the range.
  if (x < -w) x += ((-w - x + period - 1) / period) * period;
  if (x > 3 * w) x -= ((x - 3 * w + period - 1) / period) * period;
  return static_cast<std::int32_t>(x);
}

int DesktopOffsetOf(const platform::Rect& rect, std::int32_t screenWidth) {
  // Integer division truncates toward zero, as the layout expects.
  const std::int64_t centre =
      (static_cast<std::int64_t>(rect.left) + static_cast<std::int64_t>(rect.right)) / 2;
  if (centre < 0) return -1;
  if (centre >= 2 * static_cast<std::int64_t>(screenWidth)) return 2;
  if (centre >= screenWidth) return 1;
  return 0;
}

}  // namespace desktops
