#pragma once
// Comparing colours of pixels given as 0x00RRGGBB.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace colours {

inline int Red(std::uint32_t rgb) { return static_cast<int>(rgb >> 16 & 0xFF); }
inline int Green(std::uint32_t rgb) { return static_cast<int>(rgb >> 8 & 0xFF); }
inline int Blue(std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// The largest difference of one channel.
inline int Distance(std::uint32_t a, std::uint32_t b) {
  return std::max(
      {std::abs(Red(a) - Red(b)), std::abs(Green(a) - Green(b)), std::abs(Blue(a) - Blue(b))});
}

}  // namespace colours
