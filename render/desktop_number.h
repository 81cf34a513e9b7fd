#pragma once
// The number of the current desktop on the tray icon's picture, drawn in a
// pixel font of the program's own scaled to the picture, so that it reads at
// 16 x 16 and at the larger sizes of high-DPI screens alike.
#include <cstdint>

#include "platform/types.h"

namespace render {

// The font's cell, in font pixels.
constexpr std::int32_t kDigitWidth = 5;
constexpr std::int32_t kDigitHeight = 7;

// How large the digit is drawn on a picture whose smaller side is `side`:
// the size of one font pixel and the width of the outline around the digit,
// both in picture pixels; the digit and its outline fit the side.
struct DigitScale {
  std::int32_t pixel = 1;
  std::int32_t outline = 1;
};
DigitScale DigitScaleFor(std::int32_t side);

// Draws `number` (1 to 4) in the picture's lower right corner, white and
// opaque with a black outline; the fourth byte of each pixel is its opacity.
// Any other number, and a picture whose pixels do not match its size, are
// left as they are.
void DrawDesktopNumber(int number, platform::PixelImage* picture);

}  // namespace render
