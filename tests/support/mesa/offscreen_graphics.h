#pragma once
// An OpenGL context that draws into memory, through Mesa's off-screen
// interface: the same OpenGL as on screen, for native tests and benchmarks.
#include <cstdint>
#include <vector>

#include "platform/graphics.h"

namespace platform {

class OffscreenGraphics : public Graphics {
 public:
  // The size of the picture frames are drawn into.
  OffscreenGraphics(std::int32_t width, std::int32_t height);
  ~OffscreenGraphics() override;
  OffscreenGraphics(const OffscreenGraphics&) = delete;
  OffscreenGraphics& operator=(const OffscreenGraphics&) = delete;

  // Mesa is linked in; there is nothing to bind or choose.
  void LoadLibraries() override {}
  void SetUpPixelFormat() override {}
  void CreateContext() override;
  // Waits until the frame is complete in memory.
  void Present() override;
  void DeleteContext() override;

  bool HasContext() const { return context_ != nullptr; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The pixel at (x, y) counted from the top-left corner, as 0x00RRGGBB.
  std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const;
  // The whole picture, 32 bits a pixel, blue-green-red-alpha, bottom-up.
  const std::vector<std::uint8_t>& Pixels() const { return pixels_; }

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint8_t> pixels_;
  void* context_ = nullptr;
};

}  // namespace platform
