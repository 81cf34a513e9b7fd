#pragma once
// A picture held in memory: 32 bits per pixel (blue, green, red, unused),
// rows stored bottom-up with no gaps, as OpenGL and GDI take it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace render {

class Bitmap {
 public:
  static constexpr std::int32_t kBytesPerPixel = 4;
  // Larger sides are refused: no screen or picture we show comes near it, and
  // it keeps a damaged size from asking for gigabytes.
  static constexpr std::int32_t kMaxSide = 16384;

  Bitmap() = default;

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  // Resizes keeping the pixels of the part that remains at their places
  // counted from the top-left corner; new pixels are black. Sides outside
  // 0..kMaxSide are clamped into it.
  void SetSize(std::int32_t width, std::int32_t height);

  std::uint8_t* Data() { return pixels_.data(); }
  const std::uint8_t* Data() const { return pixels_.data(); }
  std::size_t ByteSize() const { return pixels_.size(); }

  // Pixel at (x, y) counted from the top-left corner, as 0x00RRGGBB.
  std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const;
  void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t rgb);

 private:
  std::size_t Offset(std::int32_t x, std::int32_t y) const;

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace render
