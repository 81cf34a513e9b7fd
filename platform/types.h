#pragma once
// Plain value types shared by the logic and the platform layer. Nothing here
// includes <windows.h>, so the logic builds and is tested natively.
#include <cstdint>

namespace platform {

// A top-level window handle, wide enough for a pointer on either architecture.
using WindowHandle = std::uintptr_t;
constexpr WindowHandle kNoWindow = 0;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

}  // namespace platform
