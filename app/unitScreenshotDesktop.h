#pragma once
#include "platform/platform.h"
#include "render/bitmap.h"

namespace app {

// How long the bare desktop is left on screen before it is photographed, so
// that the hidden windows have gone from it.
constexpr std::uint32_t kBareDesktopWaitMs = 500;
// How long the other windows are given to hide before the active one, and
// how often they are looked at meanwhile.
constexpr std::uint32_t kBareDesktopHideWaitMs = 250;
constexpr std::uint32_t kBareDesktopPollMs = 10;

// Hiding and showing the windows of other programs: neither activates,
// reorders or waits for them, so the stack of windows is left as it was and
// a program that does not answer holds up nothing.
constexpr std::uint32_t kBareDesktopHideFlags =
    platform::kMoveNoSize | platform::kMoveNoMove | platform::kMoveNoZOrder |
    platform::kMoveNoActivate | platform::kMoveHideWindow | platform::kMoveNoOwnerZOrder |
    platform::kMoveAsync;
constexpr std::uint32_t kBareDesktopShowFlags =
    platform::kMoveNoSize | platform::kMoveNoMove | platform::kMoveNoZOrder |
    platform::kMoveNoActivate | platform::kMoveShowWindow | platform::kMoveNoOwnerZOrder |
    platform::kMoveAsync;

// Fills `bitmap` with a picture of the screen taken while every visible
// top-level window but the shell's own is hidden; shows them again after,
// in their places in the stack, and gives the foreground back to the window
// that had it.
void ScreenshotDesktop(platform::Platform& system, render::Bitmap* bitmap);

}  // namespace app
