#pragma once
// Arithmetic of the desktop layout: a window's desktop is its horizontal
// position, in whole widths of the virtual screen away from it.
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace desktops {

constexpr int kDesktopCount = 4;
constexpr int kDesktopMask = kDesktopCount - 1;

// Desktop index arithmetic keeps the two low bits.
constexpr int WrapDesktop(int desktop) { return desktop & kDesktopMask; }

// What the desktops are laid out across: the virtual screen, the bounding
// box of every monitor. Windows are parked by whole widths of it, counted
// from its left edge, so a parked window stands beside every monitor however
// they are arranged. With one monitor it is the screen: left 0, width w.
struct Span {
  std::int32_t left = 0;
  std::int32_t width = 0;
};
bool operator==(Span a, Span b);
inline bool operator!=(Span a, Span b) { return !(a == b); }

// Left edge of a window shifted by `shift` pixels, brought into the range
// -w .. 3w from the span's left edge by whole multiples of 4w. Both range
// tests are strict, so an edge at exactly -w or 3w stays.
// The arithmetic is 64-bit and the edge is handed on in full: past 32767
// (four widths of three 4K monitors) a parked window's own WM_MOVE carries
// its position cut to 16 bits, but every rectangle the layout reads back
// (GetWindowRect) is whole, so it is not bounded there.
std::int32_t ShiftedLeft(std::int32_t left, std::int64_t shift, Span span);

// Which desktop, relative to the current one, a window stands on, judged by
// the horizontal centre of its rectangle from the span's left edge, taken
// modulo four widths, as the parking wraps it: 0 on the screen, 1 and 2 one
// and two widths to the right, -1 in the last width (one desktop back,
// whether left of the screen or wrapped round to the right).
int DesktopOffsetOf(const platform::Rect& rect, Span span);

// Left edge of a window while its own desktop is shown.
std::int32_t HomeLeft(const platform::Rect& rect, Span span);

// The displays a layout is made for: its span, the monitors' rectangles and
// the primary monitor's work area.
struct Displays {
  Span span;
  std::vector<platform::Rect> monitors;
  platform::Rect primaryWork;
};
Displays DisplaysOf(const platform::Rect& virtualScreen,
                    const std::vector<platform::Monitor>& monitors);

// Where a window standing at `rect` in the layout over `before` stands in
// the layout over `after`: on the same desktop, at the same place on it.
// A place that lies on no monitor of `after` (its monitor is gone) is moved
// onto the primary monitor's work area, whole where it fits.
platform::Point Replaced(const platform::Rect& rect, Span before, const Displays& after);

}  // namespace desktops
