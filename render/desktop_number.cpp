#include "render/desktop_number.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace render {

namespace {

using Glyph = std::array<const char*, kDigitHeight>;
// Rows top down; '#' is lit.
constexpr std::array<Glyph, 4> kDigits = {{
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
}};

constexpr std::uint8_t kOpaque = 0xFF;
constexpr std::uint8_t kWhite = 0xFF;
constexpr std::uint8_t kBlack = 0x00;
// Above this many font pixels the outline grows with the digit.
constexpr std::int32_t kPixelsPerOutline = 3;

void Put(platform::PixelImage* picture, std::int32_t x, std::int32_t y, std::uint8_t level) {
  // Rows are stored bottom-up.
  const std::size_t row = static_cast<std::size_t>(picture->height - 1 - y);
  std::uint8_t* p = picture->pixels.data() +
                    (row * static_cast<std::size_t>(picture->width) + static_cast<std::size_t>(x)) *
                        platform::kBytesPerPixel;
  p[0] = p[1] = p[2] = level;
  p[3] = kOpaque;
}

}  // namespace

DigitScale DigitScaleFor(std::int32_t side) {
  DigitScale scale;
  scale.pixel = std::max<std::int32_t>(1, (side - 2) / kDigitHeight);
  scale.outline = std::max<std::int32_t>(1, scale.pixel / kPixelsPerOutline);
  return scale;
}

void DrawDesktopNumber(int number, platform::PixelImage* picture) {
  if (number < 1 || number > static_cast<int>(kDigits.size()) || picture->Empty()) return;
  const std::size_t bytes = static_cast<std::size_t>(picture->width) *
                            static_cast<std::size_t>(picture->height) * platform::kBytesPerPixel;
  if (picture->pixels.size() != bytes) return;
  const Glyph& glyph = kDigits[static_cast<std::size_t>(number - 1)];
  const DigitScale scale = DigitScaleFor(std::min(picture->width, picture->height));
  const std::int32_t k = scale.pixel;
  const std::int32_t o = scale.outline;
  // The digit's box with its outline round it, in the lower right corner
  // (clipped to the picture should it be smaller than the box).
  const std::int32_t boxWidth = kDigitWidth * k + 2 * o;
  const std::int32_t boxHeight = kDigitHeight * k + 2 * o;
  const std::int32_t left = picture->width - boxWidth;
  const std::int32_t top = picture->height - boxHeight;
  const auto lit = [&](std::int32_t bx, std::int32_t by) {
    const std::int32_t gx = bx - o;
    const std::int32_t gy = by - o;
    if (gx < 0 || gy < 0 || gx >= kDigitWidth * k || gy >= kDigitHeight * k) return false;
    return glyph[static_cast<std::size_t>(gy / k)][gx / k] == '#';
  };
  for (std::int32_t by = 0; by < boxHeight; ++by) {
    for (std::int32_t bx = 0; bx < boxWidth; ++bx) {
      const std::int32_t x = left + bx;
      const std::int32_t y = top + by;
      if (x < 0 || y < 0) continue;
      if (lit(bx, by)) {
        Put(picture, x, y, kWhite);
        continue;
      }
      bool near = false;
      for (std::int32_t dy = -o; dy <= o && !near; ++dy) {
        for (std::int32_t dx = -o; dx <= o && !near; ++dx) near = lit(bx + dx, by + dy);
      }
      if (near) Put(picture, x, y, kBlack);
    }
  }
}

}  // namespace render
