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
  if (screenWidth <= 0) return 0;
  // Integer division truncates toward zero, as the layout expects.
  const std::int64_t centre =
      (static_cast<std::int64_t>(rect.left) + static_cast<std::int64_t>(rect.right)) / 2;
  const std::int64_t period = kDesktopCount * static_cast<std::int64_t>(screenWidth);
  // A maximised window reaches a little past the screen's left edge, so a
  // parked one wraps to just under 3w; its centre still says where it is.
  const std::int64_t widths = (((centre % period) + period) % period) / screenWidth;
  return widths == kDesktopCount - 1 ? -1 : static_cast<int>(widths);
}

}  // namespace desktops
