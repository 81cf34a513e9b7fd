#pragma once
// Fitting a picture into a box, keeping its proportions, and a window into
// an area of the screen.
#include <algorithm>
#include <cstdint>

#include "platform/types.h"

namespace platform {

// The largest rectangle of the picture's proportions that fits inside the
// box, centred in it; never larger than the picture itself. Empty for an
// empty picture or box.
inline Rect FitCentred(std::int32_t boxWidth, std::int32_t boxHeight, std::int32_t pictureWidth,
                       std::int32_t pictureHeight) {
  if (boxWidth <= 0 || boxHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return Rect{};
  // In 64 bits: the products of two sides do not fit in 32.
  std::int64_t width = pictureWidth;
  std::int64_t height = pictureHeight;
  if (width > boxWidth || height > boxHeight) {
    if (width * boxHeight >= height * boxWidth) {
      height = std::max<std::int64_t>(1, height * boxWidth / width);
      width = boxWidth;
    } else {
      width = std::max<std::int64_t>(1, width * boxHeight / height);
      height = boxHeight;
    }
  }
  const auto left = static_cast<std::int32_t>((boxWidth - width) / 2);
  const auto top = static_cast<std::int32_t>((boxHeight - height) / 2);
  return Rect{left, top, left + static_cast<std::int32_t>(width),
              top + static_cast<std::int32_t>(height)};
}

// The window moved, keeping its size, as little as it takes to lie inside
// the area; one larger than the area shows its top-left part.
inline Rect KeptInside(const Rect& window, const Rect& area) {
  const std::int32_t width = window.right - window.left;
  const std::int32_t height = window.bottom - window.top;
  const std::int32_t left = std::max(area.left, std::min(window.left, area.right - width));
  const std::int32_t top = std::max(area.top, std::min(window.top, area.bottom - height));
  return Rect{left, top, left + width, top + height};
}

}  // namespace platform
