#include "desktops/layout.h"

#include <algorithm>

namespace desktops {

namespace {
bool Intersects(const platform::Rect& a, const platform::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The start of a run of `length` moved into `from .. to`, at `from` when it
// is longer.
std::int32_t Fitted(std::int32_t start, std::int32_t length, std::int32_t from, std::int32_t to) {
  return std::max(from, std::min(start, to - length));
}
}  // namespace

bool operator==(Span a, Span b) { return a.left == b.left && a.width == b.width; }

std::int32_t ShiftedLeft(std::int32_t left, std::int64_t shift, Span span) {
  const std::int64_t w = span.width;
  if (w <= 0) return left;  // no screen to measure by: leave the window be
  std::int64_t x = static_cast<std::int64_t>(left) - span.left + shift;
  const std::int64_t period = kDesktopCount * w;
  // Same result as adding or subtracting 4w one step at a time, without the
  // loop running long for an edge far outside the range.
  if (x < -w) x += ((-w - x + period - 1) / period) * period;
  if (x > 3 * w) x -= ((x - 3 * w + period - 1) / period) * period;
  return static_cast<std::int32_t>(x + span.left);
}

int DesktopOffsetOf(const platform::Rect& rect, Span span) {
  if (span.width <= 0) return 0;
  // Integer division truncates toward zero, as the layout expects.
  const std::int64_t centre =
      (static_cast<std::int64_t>(rect.left) + static_cast<std::int64_t>(rect.right)) / 2 -
      span.left;
  const std::int64_t period = kDesktopCount * static_cast<std::int64_t>(span.width);
  // A maximised window reaches a little past the screen's left edge, so a
  // parked one wraps to just under 3w; its centre still says where it is.
  const std::int64_t widths = (((centre % period) + period) % period) / span.width;
  return widths == kDesktopCount - 1 ? -1 : static_cast<int>(widths);
}

std::int32_t HomeLeft(const platform::Rect& rect, Span span) {
  const std::int64_t offset = DesktopOffsetOf(rect, span);
  // One on the desktop shown stays, also when it reaches past the range (a
  // window wider than the span).
  return offset == 0 ? rect.left : ShiftedLeft(rect.left, -offset * span.width, span);
}

Displays DisplaysOf(const platform::Rect& virtualScreen,
                    const std::vector<platform::Monitor>& monitors) {
  Displays displays;
  displays.span = Span{virtualScreen.left, virtualScreen.right - virtualScreen.left};
  for (const platform::Monitor& monitor : monitors) {
    displays.monitors.push_back(monitor.area);
    if (monitor.primary) displays.primaryWork = monitor.work;
  }
  return displays;
}

platform::Point Replaced(const platform::Rect& rect, Span before, const Displays& after) {
  const std::int64_t offset = DesktopOffsetOf(rect, before);
  const std::int32_t width = rect.right - rect.left;
  const std::int32_t height = rect.bottom - rect.top;
  platform::Rect home{HomeLeft(rect, before), rect.top, 0, 0};
  home.right = home.left + width;
  home.bottom = home.top + height;
  const bool shown =
      std::any_of(after.monitors.begin(), after.monitors.end(),
                  [&](const platform::Rect& area) { return Intersects(home, area); });
  if (!shown) {
    const platform::Rect& work = after.primaryWork;
    home.left = Fitted(home.left, width, work.left, work.right);
    home.top = Fitted(home.top, height, work.top, work.bottom);
  }
  return platform::Point{
      offset == 0 ? home.left : ShiftedLeft(home.left, offset * after.span.width, after.span),
      home.top};
}

}  // namespace desktops
