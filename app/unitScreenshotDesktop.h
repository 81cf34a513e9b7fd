#pragma once
#include "platform/platform.h"
#include "render/bitmap.h"

namespace app {

// How long the bare desktop is left on screen before it is photographed, so
// that the hidden windows have gone from it.
constexpr std::uint32_t kBareDesktopWaitMs = 500;

// Fills `bitmap` with a picture of the screen taken while every visible
// top-level window but the shell's own is hidden; shows them again after.
void ScreenshotDesktop(platform::Platform& system, render::Bitmap* bitmap);

}  // namespace app
