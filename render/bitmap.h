#pragma once
// A picture held in memory: 32 bits per pixel (blue, green, red, unused),
// rows stored bottom-up with no gaps, as OpenGL and GDI take it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace render {

class Bitmap {
 public:
  static constexpr std::int32_t kBytesPerPixel = platform::kBytesPerPixel;
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

  // Write access counts as a change of content.
  std::uint8_t* Data();
  const std::uint8_t* Data() const { return pixels_.data(); }
  std::size_t ByteSize() const { return pixels_.size(); }

  // Pixel at (x, y) counted from the top-left corner, as 0x00RRGGBB.
  std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const;
  void SetPixel(std::int32_t x, std::int32_t y, std::uint32_t rgb);
  // Every pixel, fourth byte included, set to zero.
  void FillBlack();

  // Keeps the width x height part whose top-left corner was (left, top);
  // the rectangle must lie inside the bitmap.
  void Crop(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

  // Changes whenever the content may have changed; two states of any bitmaps
  // never share a number unless one is a copy of the other. Textures made
  // from a bitmap remember it to know when they are out of date.
  std::uint64_t Generation() const { return generation_; }

 private:
  std::size_t Offset(std::int32_t x, std::int32_t y) const;
  void Touch();

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::uint64_t generation_ = 0;
};

}  // namespace render
