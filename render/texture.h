#pragma once
// Pictures as OpenGL textures. OpenGL 1.1 wants sides that are powers of
// two, so a picture sits in the top-left corner of a larger texture and its
// triple records how far it reaches: s from 0 to sMax, t from tMin to 1,
// with t = 1 the picture's top row and s = 0 its left column.
#include <cstdint>

#include "render/bitmap.h"
#include "render/texture_padding.h"

namespace render {

// The smallest texture side is 16.
constexpr std::int32_t kMinTextureSide = 16;

struct FaceTexture {
  std::uint32_t name = 0;  // 0: no texture
  float sMax = 0;
  float tMin = 0;
  // What the texture was made from, so an unchanged picture is not sent
  // again and a texture of the right size is refilled instead of remade.
  std::int32_t textureWidth = 0;
  std::int32_t textureHeight = 0;
  std::uint64_t sourceGeneration = 0;
};

// Pictures are limited to what a texture can hold, and never beyond this
// whatever the context claims: 8192 x 8192 pixels already take 256 MiB.
inline constexpr std::int32_t kLargestPictureSide = 8192;

// What the context can take.
struct TextureCaps {
  // Sends blue-green-red pictures as they are; without it the bytes are
  // swapped for the upload and back.
  bool bgra = true;
  // Pictures loaded from files are at most this on a side: what a texture
  // can hold, and never more than 8192.
  std::int32_t maxSide = 0;
  // The largest texture side the context takes (1024 in Windows' own
  // software OpenGL, against screens that are wider).
  std::int32_t maxTextureSide = 0;
};

// The texture side for a picture side: 16 or the smallest power of two not
// below it.
std::int32_t NextPowerOfTwo(std::int32_t n);

// Exchanges the first and third byte of every pixel (blue and red); applied
// twice it restores the bitmap.
void SwapRedBlue(Bitmap& bitmap);

// Makes the texture show the bitmap, and records the picture's extent in the
// triple. A texture of the same size is refilled in place, any other one is
// deleted first. The bitmap is left as it was. The texture outside the
// picture is filled as `padding` says (black: zero bytes). A picture whose
// texture would be larger than the context takes is sent at half its size,
// as often as needed, so it shows less sharp rather than not at all.
void UploadTexture(Bitmap& bitmap, FaceTexture& texture, const TextureCaps& caps,
                   Padding padding = Padding::kBlack);

// Whether the texture no longer shows what the bitmap holds.
bool OutOfDate(const Bitmap& bitmap, const FaceTexture& texture);

void BindTexture(std::uint32_t name);

// Deletes the texture unless its name is 0, and sets the name to 0.
void FreeTexture(FaceTexture& texture);

// The bitmap at half its width and height (rounded up), each pixel the
// average of the up to four it stands for.
Bitmap HalfSize(const Bitmap& bitmap);

// Keeps the centred square of the bitmap (integer halves rounding down).
void CropToSquare(Bitmap& bitmap);

// Queries the current context.
TextureCaps QueryTextureCaps();

}  // namespace render
