#include "render/texture.h"

#include <algorithm>
#include <cstring>

#include "render/gl.h"
#include "render/texture_padding.h"

namespace render {

namespace {
// No texture side beyond this is ever asked for: a picture is refused
// before it reaches that size, and the doubling must not overflow.
constexpr std::int32_t kLargestSide = 1 << 30;
constexpr const char* kBgraExtension = "GL_EXT_bgra";

bool HasExtension(const char* extensions, const char* name) {
  if (extensions == nullptr) return false;
  const std::size_t length = std::strlen(name);
  for (const char* at = std::strstr(extensions, name); at != nullptr;
       at = std::strstr(at + 1, name)) {
    const bool starts = at == extensions || at[-1] == ' ';
    const bool ends = at[length] == '\0' || at[length] == ' ';
    if (starts && ends) return true;
  }
  return false;
}
}  // namespace

std::int32_t NextPowerOfTwo(std::int32_t n) {
  std::int32_t p = kMinTextureSide;
  while (n > p && p < kLargestSide) p *= 2;
  return p;
}

void SwapRedBlue(Bitmap& bitmap) {
  std::uint8_t* pixel = bitmap.Data();
  const std::uint8_t* const end = pixel + bitmap.ByteSize();
  for (; pixel != end; pixel += Bitmap::kBytesPerPixel) std::swap(pixel[0], pixel[2]);
}

bool OutOfDate(const Bitmap& bitmap, const FaceTexture& texture) {
  // Every change of size or content gives the bitmap a new generation.
  return texture.name == 0 || texture.sourceGeneration != bitmap.Generation();
}

Bitmap HalfSize(const Bitmap& bitmap) {
  const std::int32_t w = bitmap.Width();
  const std::int32_t h = bitmap.Height();
  Bitmap half;
  half.SetSize((w + 1) / 2, (h + 1) / 2);
  const std::uint8_t* from = bitmap.Data();
  std::uint8_t* to = half.Data();
  // Rows counted from the top, as the picture is anchored there; an odd
  // last row or column averages with itself.
  const auto offset = [](std::int32_t width, std::int32_t height, std::int32_t y, std::int32_t x) {
    return (static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width) +
            static_cast<std::size_t>(x)) *
           Bitmap::kBytesPerPixel;
  };
  for (std::int32_t y = 0; y < half.Height(); ++y) {
    const std::int32_t y0 = 2 * y, y1 = std::min(2 * y + 1, h - 1);
    for (std::int32_t x = 0; x < half.Width(); ++x) {
      const std::int32_t x0 = 2 * x, x1 = std::min(2 * x + 1, w - 1);
      std::uint8_t* out = to + offset(half.Width(), half.Height(), y, x);
      for (int k = 0; k < Bitmap::kBytesPerPixel; ++k) {
        const unsigned sum = from[offset(w, h, y0, x0) + k] + from[offset(w, h, y0, x1) + k] +
                             from[offset(w, h, y1, x0) + k] + from[offset(w, h, y1, x1) + k];
        out[k] = static_cast<std::uint8_t>((sum + 2) / 4);
      }
    }
  }
  return half;
}

void UploadTexture(Bitmap& bitmap, FaceTexture& texture, const TextureCaps& caps, Padding padding) {
  if (caps.maxTextureSide > 0 && (NextPowerOfTwo(bitmap.Width()) > caps.maxTextureSide ||
                                  NextPowerOfTwo(bitmap.Height()) > caps.maxTextureSide)) {
    Bitmap smaller = HalfSize(bitmap);
    while (NextPowerOfTwo(smaller.Width()) > caps.maxTextureSide ||
           NextPowerOfTwo(smaller.Height()) > caps.maxTextureSide) {
      smaller = HalfSize(smaller);
    }
    UploadTexture(smaller, texture, caps, padding);
    // Up to date with the bitmap it was made from.
    texture.sourceGeneration = bitmap.Generation();
    return;
  }
  const std::int32_t w = bitmap.Width();
  const std::int32_t h = bitmap.Height();
  const std::int32_t textureWidth = NextPowerOfTwo(w);
  const std::int32_t textureHeight = NextPowerOfTwo(h);
  const float oldSMax = texture.sMax;
  const float oldTMin = texture.tMin;
  texture.sMax = static_cast<float>(w) / static_cast<float>(textureWidth);
  texture.tMin = 1.0f - static_cast<float>(h) / static_cast<float>(textureHeight);

  if (texture.name != 0 &&
      (texture.textureWidth != textureWidth || texture.textureHeight != textureHeight)) {
    FreeTexture(texture);
  }
  // Padding that repeats the picture changes with it; black padding only
  // where a new texture has none yet or a picture of another size in the
  // same texture leaves stale texels.
  bool fillPadding = padding != Padding::kBlack;
  if (texture.name == 0) {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture.name = name;
    texture.textureWidth = textureWidth;
    texture.textureHeight = textureHeight;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, kFourComponents, textureWidth, textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    fillPadding = true;
  } else {
    glBindTexture(GL_TEXTURE_2D, texture.name);
    fillPadding = fillPadding || texture.sMax != oldSMax || texture.tMin != oldTMin;
  }

  // Without blue-green-red uploads the bytes are swapped for the upload and
  // back.
  if (!caps.bgra) SwapRedBlue(bitmap);
  const Bitmap& picture = bitmap;
  if (fillPadding) FillPadding(picture, textureWidth, textureHeight, padding, caps.bgra);
  const GLenum format = caps.bgra ? kBgraFormat : GL_RGBA;
  // The bottom-up rows go in from the texture's row H - h on, so the
  // picture's top row is the texture's last (t = 1).
  if (w > 0 && h > 0) {
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, textureHeight - h, w, h, format, GL_UNSIGNED_BYTE,
                    picture.Data());
  }
  if (!caps.bgra) SwapRedBlue(bitmap);
  texture.sourceGeneration = bitmap.Generation();
}

void BindTexture(std::uint32_t name) { glBindTexture(GL_TEXTURE_2D, name); }

void FreeTexture(FaceTexture& texture) {
  if (texture.name == 0) return;
  const GLuint name = texture.name;
  glDeleteTextures(1, &name);
  texture.name = 0;
  texture.textureWidth = 0;
  texture.textureHeight = 0;
  texture.sourceGeneration = 0;
}

void CropToSquare(Bitmap& bitmap) {
  const std::int32_t w = bitmap.Width();
  const std::int32_t h = bitmap.Height();
  if (w > h) {
    bitmap.Crop((w - h) / 2, 0, h, h);
  } else if (h > w) {
    bitmap.Crop(0, (h - w) / 2, w, w);
  }
}

TextureCaps QueryTextureCaps() {
  TextureCaps caps;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  // Blue-green-red order is core from OpenGL 1.2 on.
  const bool core =
      version != nullptr &&
      (version[0] > '1' || (version[0] == '1' && version[1] == '.' && version[2] >= '2'));
  caps.bgra = core || HasExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)),
                                   kBgraExtension);
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  // A context that does not answer is taken at its word for any size.
  caps.maxTextureSide = largest > 0 ? largest : 0;
  caps.maxSide =
      largest > 0 ? std::min<std::int32_t>(largest, kLargestPictureSide) : kLargestPictureSide;
  return caps;
}

}  // namespace render
