#pragma once
#include <cstdint>

namespace platform {

class ScreenCapture {
 public:
  virtual ~ScreenCapture() = default;
  // Copies width x height pixels from the screen's origin into `pixels`:
  // 32 bits per pixel in the order blue, green, red, unused, rows bottom-up.
  // With includeLayered the copy also holds layered windows.
  virtual void CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                             std::uint8_t* pixels) = 0;
};

}  // namespace platform
