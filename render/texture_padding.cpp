#include "render/texture_padding.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/gl.h"

namespace render {

namespace {

constexpr std::size_t kPixelBytes = Bitmap::kBytesPerPixel;

std::size_t Pixels(std::int32_t width, std::int32_t height) {
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// The bitmap row (counted bottom-up, as stored) that a texture row shows.
// Counted from the top, the texture's first rows lie below the picture's
// bottom row and, across the wrap, above its top row.
std::int32_t SourceRow(std::int32_t row, std::int32_t pictureHeight, std::int32_t textureHeight) {
  const std::int32_t firstPictureRow = textureHeight - pictureHeight;
  if (row >= firstPictureRow) return row - firstPictureRow;
  const std::int32_t fromTop = textureHeight - 1 - row;
  return pictureHeight - 1 - PaddingSource(fromTop, pictureHeight, textureHeight, false);
}

// Copies pixels into the padding, which is sent in OpenGL's own byte order
// (red first), the quickest for software OpenGL to take.
void CopyPixels(const std::uint8_t* from, std::uint8_t* to, std::size_t count, bool bgra) {
  if (!bgra) {
    std::memcpy(to, from, count * kPixelBytes);
    return;
  }
  for (std::size_t k = 0; k < count; ++k, from += kPixelBytes, to += kPixelBytes) {
    to[0] = from[2];
    to[1] = from[1];
    to[2] = from[0];
    to[3] = from[3];
  }
}

}  // namespace

std::int32_t PaddingSource(std::int32_t position, std::int32_t pictureSide,
                           std::int32_t textureSide, bool goesRound) {
  const std::int32_t afterLast = position - pictureSide;
  const std::int32_t beforeFirst = textureSide - 1 - position;
  if (afterLast <= beforeFirst) return goesRound ? afterLast % pictureSide : pictureSide - 1;
  return goesRound ? pictureSide - 1 - beforeFirst % pictureSide : 0;
}

void FillPadding(const Bitmap& bitmap, std::int32_t textureWidth, std::int32_t textureHeight,
                 Padding padding, bool bgra) {
  const std::int32_t w = bitmap.Width();
  const std::int32_t h = bitmap.Height();
  const std::int32_t rightWidth = textureWidth - w;
  const std::int32_t belowHeight = textureHeight - h;
  // The columns right of the picture over the whole height, then the rows
  // below it under its columns, each sent from this one buffer: no copy of
  // the picture itself is made.
  std::vector<std::uint8_t> strip(
      std::max(Pixels(rightWidth, textureHeight), Pixels(w, belowHeight)) * kPixelBytes, 0);
  if (strip.empty()) return;
  const bool black = padding == Padding::kBlack || bitmap.Empty();
  const std::uint8_t* picture = bitmap.Data();
  const std::size_t rowBytes = static_cast<std::size_t>(w) * kPixelBytes;

  if (rightWidth > 0) {
    if (!black) {
      std::vector<std::size_t> columnOffsets(static_cast<std::size_t>(rightWidth));
      for (std::int32_t c = 0; c < rightWidth; ++c) {
        const std::int32_t source =
            PaddingSource(w + c, w, textureWidth, padding == Padding::kAroundSphere);
        columnOffsets[static_cast<std::size_t>(c)] = static_cast<std::size_t>(source) * kPixelBytes;
      }
      std::uint8_t* to = strip.data();
      for (std::int32_t row = 0; row < textureHeight; ++row) {
        const std::uint8_t* from =
            picture + static_cast<std::size_t>(SourceRow(row, h, textureHeight)) * rowBytes;
        for (const std::size_t offset : columnOffsets) {
          CopyPixels(from + offset, to, 1, bgra);
          to += kPixelBytes;
        }
      }
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, w, 0, rightWidth, textureHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    strip.data());
  }
  if (w > 0 && belowHeight > 0) {
    if (!black) {
      for (std::int32_t row = 0; row < belowHeight; ++row) {
        CopyPixels(picture + static_cast<std::size_t>(SourceRow(row, h, textureHeight)) * rowBytes,
                   strip.data() + static_cast<std::size_t>(row) * rowBytes,
                   static_cast<std::size_t>(w), bgra);
      }
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, belowHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    strip.data());
  }
}

}  // namespace render
