#pragma once
// Picture files made by the tests themselves: encoders for PNG and JPEG in
// their variants, smooth pictures whose every pixel tells where it is, and
// ways to damage a file.
#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace samples {

using Bytes = std::vector<std::uint8_t>;

// Red runs from 0 at the left to 255 at the right, green from 0 at the top
// to 255 at the bottom; blue is the tag, so pictures can be told apart.
render::Bitmap Gradient(std::int32_t width, std::int32_t height, std::uint8_t tag);
// Pixel (x, y) is 0x00xxyy + tag in blue: exact positions for small pictures.
render::Bitmap Numbered(std::int32_t width, std::int32_t height, std::uint8_t tag = 0);

enum class PngStyle {
  kRgb,
  kRgbaHalfLeft,  // the left half transparent, the right half opaque
  kRgbaHalf,      // every pixel at alpha 128
  kPalette,       // an 8-bit palette, its first entry transparent (tRNS)
  kGray,          // 8-bit grey (from the green channel)
  kGrayOneBit,    // 1-bit grey: green >= 128 is white
  kGrayAlpha,     // grey and alpha 255
  kSixteenBit,    // 16 bits per channel
  kInterlaced,    // Adam7, RGB
};
Bytes EncodePng(const render::Bitmap& picture, PngStyle style);

// kCmyk as Adobe's programs write it (inverted inks, Adobe marker),
// kCmykPlain with plain inks and no marker.
enum class JpegStyle { kColour, kGray, kProgressive, kCmyk, kCmykPlain };
Bytes EncodeJpeg(const render::Bitmap& picture, JpegStyle style, int quality = 95);

// Shapes of JPEG files that cameras and editors write and every viewer
// shows, though libjpeg warns about some of them.
enum class JpegQuirk {
  kPaddingBeforeEnd,      // zero bytes between the picture data and the end marker
  kBytesBetweenSegments,  // stray bytes between two header segments
  kUnknownAppMarker,      // an application segment (APP11) no decoder knows
  kJfifVersionTwo,        // JFIF header version 2.01
};
Bytes WithJpegQuirk(Bytes jpeg, JpegQuirk quirk);

// Damage to the compressed picture data that leaves the picture incomplete.
enum class JpegDamage {
  kBadCodes,  // a stretch of the data replaced by codes no table holds
  kCutShort,  // the second half of the data gone, the end marker kept
};
Bytes WithJpegDamage(Bytes jpeg, JpegDamage damage);

// A copy that claims another size in its header (with a valid checksum for
// PNG), though the data stays that of the original.
Bytes WithPngSize(Bytes png, std::uint32_t width, std::uint32_t height);
Bytes WithJpegSize(Bytes jpeg, std::uint16_t width, std::uint16_t height);

// Writes bytes to a file of the native file system; returns its path.
std::string WriteFile(const std::string& directory, const std::string& name, const Bytes& bytes);

}  // namespace samples
