#include "render/bitmap.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace render {

namespace {
std::int32_t ClampSide(std::int32_t side) { return std::clamp(side, 0, Bitmap::kMaxSide); }

std::atomic<std::uint64_t> lastGeneration{0};
}  // namespace

void Bitmap::Touch() { generation_ = ++lastGeneration; }

std::size_t Bitmap::Offset(std::int32_t x, std::int32_t y) const {
  // Bottom-up storage: the top row sits at the highest address.
  const auto row = static_cast<std::size_t>(height_ - 1 - y);
  return (row * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * kBytesPerPixel;
}

std::uint8_t* Bitmap::Data() {
  Touch();
  return pixels_.data();
}

void Bitmap::SetSize(std::int32_t width, std::int32_t height) {
  width = ClampSide(width);
  height = ClampSide(height);
  if (width == width_ && height == height_) return;
  Touch();
  std::vector<std::uint8_t> resized(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height) * kBytesPerPixel);
  const std::int32_t keepWidth = std::min(width, width_);
  const std::int32_t keepHeight = std::min(height, height_);
  const std::size_t rowBytes = static_cast<std::size_t>(keepWidth) * kBytesPerPixel;
  for (std::int32_t y = 0; y < keepHeight; ++y) {
    const std::size_t from = Offset(0, y);
    const std::size_t to =
        static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) * kBytesPerPixel;
    std::memcpy(resized.data() + to, pixels_.data() + from, rowBytes);
  }
  pixels_.swap(resized);
  width_ = width;
  height_ = height;
}

std::uint32_t Bitmap::PixelAt(std::int32_t x, std::int32_t y) const {
  const std::uint8_t* p = pixels_.data() + Offset(x, y);
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

void Bitmap::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t rgb) {
  Touch();
  std::uint8_t* p = pixels_.data() + Offset(x, y);
  p[0] = static_cast<std::uint8_t>(rgb);
  p[1] = static_cast<std::uint8_t>(rgb >> 8);
  p[2] = static_cast<std::uint8_t>(rgb >> 16);
  p[3] = 0;
}

void Bitmap::FillBlack() {
  Touch();
  std::fill(pixels_.begin(), pixels_.end(), std::uint8_t{0});
}

void Bitmap::Crop(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  Touch();
  std::vector<std::uint8_t> cropped(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height) * kBytesPerPixel);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * kBytesPerPixel;
  for (std::int32_t y = 0; y < height; ++y) {
    const std::size_t to =
        static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) * kBytesPerPixel;
    std::memcpy(cropped.data() + to, pixels_.data() + Offset(left, top + y), rowBytes);
  }
  pixels_.swap(cropped);
  width_ = width;
  height_ = height;
}

}  // namespace render
