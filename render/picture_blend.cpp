#include "render/picture_blend.h"

namespace render {

namespace {
constexpr unsigned kOpaque = 255;
constexpr unsigned kRounding = kOpaque / 2;
constexpr int kColourBytes = 3;
constexpr int kPixelBytes = 4;
}  // namespace

void BlendRow(const std::uint8_t* source, std::uint8_t* destination, std::int32_t width) {
  for (std::int32_t x = 0; x < width; ++x, source += kPixelBytes, destination += kPixelBytes) {
    const unsigned alpha = source[3];
    if (alpha == 0) continue;
    for (int c = 0; c < kColourBytes; ++c) {
      destination[c] = static_cast<std::uint8_t>(
          (source[c] * alpha + destination[c] * (kOpaque - alpha) + kRounding) / kOpaque);
    }
  }
}

}  // namespace render
