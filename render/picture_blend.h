#pragma once
// Drawing decoded rows onto a bitmap's pixels.
#include <cstdint>

namespace render {

// Draws `width` pixels of blue, green, red, alpha over 32-bit pixels: opaque
// ones replace them, transparent ones leave them, the rest blend. The
// destination's fourth byte is left alone.
void BlendRow(const std::uint8_t* source, std::uint8_t* destination, std::int32_t width);

}  // namespace render
