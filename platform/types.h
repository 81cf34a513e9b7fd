#pragma once
// Plain value types shared by the logic and the platform layer. Nothing here
// includes <windows.h>, so the logic builds and is tested natively.
#include <cstdint>
#include <vector>

namespace platform {

// A top-level window handle, wide enough for a pointer on either architecture.
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Pictures pass between the program and the system with 32 bits a pixel
// (blue, green, red, unused) and rows bottom-up.
constexpr std::int32_t kBytesPerPixel = 4;

// Such a picture.
struct PixelImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;
  bool Empty() const { return width <= 0 || height <= 0; }
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// One display monitor: its rectangle on the virtual screen and its work
// area (the rectangle without the taskbar and docked toolbars).
struct Monitor {
  Rect area;
  Rect work;
  bool primary = false;
};

}  // namespace platform
