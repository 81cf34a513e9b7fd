#pragma once
// What the system's own picture kinds (bitmaps, icons, metafiles) must pass
// before the system decodes them: the kind told by the first bytes, a size
// cap per kind, and the size in pixels that a bitmap's or an icon's header
// claims, checked against the largest side before anything is allocated for
// it. Pure functions on the file's bytes, so that they are tested and fuzzed
// without the system.
#include <cstddef>
#include <cstdint>

namespace platform {

enum class SystemPicture { kNone, kBitmap, kIcon, kMetafile, kEnhancedMetafile };

namespace picture_checks {

inline std::uint32_t Little(const std::uint8_t* bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

constexpr std::size_t kFileHeaderBytes = 14;         // BITMAPFILEHEADER
constexpr std::size_t kCoreHeaderBytes = 12;         // BITMAPCOREHEADER
constexpr std::size_t kInfoHeaderBytes = 40;         // BITMAPINFOHEADER
constexpr std::size_t kIconDirBytes = 6;             // ICONDIR
constexpr std::size_t kIconEntryBytes = 16;          // ICONDIRENTRY
constexpr std::size_t kEmfSignatureAt = 40;          // ENHMETAHEADER.dSignature
constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kEmfHeaderRecord = 1;        // EMR_HEADER
constexpr std::uint32_t kPlaceableWmfKey = 0x9AC6CDD7;
constexpr std::uint16_t kBitmapMagic = 0x4D42;  // "BM"
constexpr std::uint16_t kIconType = 1;
// An icon directory states a side as one byte, 0 meaning 256.
constexpr std::int64_t kLargestIconSide = 256;
constexpr std::uint32_t kPngSignature = 0x474E5089;  // "\x89PNG"
constexpr std::size_t kPngWidthAt = 16;              // in IHDR, the first chunk
constexpr std::size_t kPngHeaderBytes = 24;

inline std::uint32_t Big(const std::uint8_t* bytes) {
  return (static_cast<std::uint32_t>(bytes[0]) << 24) |
         (static_cast<std::uint32_t>(bytes[1]) << 16) |
         (static_cast<std::uint32_t>(bytes[2]) << 8) | bytes[3];
}

}  // namespace picture_checks

inline SystemPicture SystemPictureOf(const std::uint8_t* bytes, std::size_t size) {
  using namespace picture_checks;
  if (size >= kFileHeaderBytes && Little(bytes, 2) == kBitmapMagic) return SystemPicture::kBitmap;
  if (size >= kIconDirBytes && Little(bytes, 2) == 0 && Little(bytes + 2, 2) == kIconType) {
    return SystemPicture::kIcon;
  }
  if (size >= kEmfSignatureAt + 4 && Little(bytes, 4) == kEmfHeaderRecord &&
      Little(bytes + kEmfSignatureAt, 4) == kEmfSignature) {
    return SystemPicture::kEnhancedMetafile;
  }
  // A placeable metafile, or a plain one: its type (1 memory, 2 disk) and a
  // header of 9 words.
  constexpr std::uint32_t kMetaHeaderWords = 9;
  if (size >= 4 &&
      (Little(bytes, 4) == kPlaceableWmfKey || ((Little(bytes, 2) == 1 || Little(bytes, 2) == 2) &&
                                                Little(bytes + 2, 2) == kMetaHeaderWords))) {
    return SystemPicture::kMetafile;
  }
  return SystemPicture::kNone;
}

// The largest file of each kind that is decoded. A bitmap may hold any
// picture up to the largest side at 32 bits a pixel, with room for its
// headers, masks and a full palette. An icon file's pictures are at most
// 256 x 256: 4 MiB holds fifteen of them uncompressed at 32 bits, more than
// any real icon carries. A metafile's records are played one by one on the
// GUI thread: 16 MiB is far beyond any clip art or drawing, embedded photos
// included, and still plays in about a second.
constexpr std::size_t kBitmapHeaderRoom = 4096;
constexpr std::size_t kLargestIconFile = 4u << 20;
constexpr std::size_t kLargestMetafile = 16u << 20;
constexpr std::size_t kBitmapBytesPerPixel = 4;

inline std::size_t SystemPictureByteCap(SystemPicture kind, std::int32_t maxSide) {
  switch (kind) {
    case SystemPicture::kBitmap:
      return maxSide <= 0
                 ? 0
                 : kBitmapHeaderRoom + static_cast<std::size_t>(maxSide) *
                                           static_cast<std::size_t>(maxSide) * kBitmapBytesPerPixel;
    case SystemPicture::kIcon:
      return kLargestIconFile;
    case SystemPicture::kMetafile:
    case SystemPicture::kEnhancedMetafile:
      return kLargestMetafile;
    case SystemPicture::kNone:
      break;
  }
  return 0;
}

// A bitmap's info header at `at` states width and height (negative for a
// top-down one); both must be 1 to maxSide. Counted in 64 bits, so the most
// negative height is no exception.
inline bool BitmapInfoFits(const std::uint8_t* bytes, std::size_t size, std::size_t at,
                           std::int64_t maxWidth, std::int64_t maxHeight) {
  using namespace picture_checks;
  if (size < at || size - at < 4) return false;
  const std::uint32_t headerSize = Little(bytes + at, 4);
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (headerSize == kCoreHeaderBytes) {
    if (size - at < kCoreHeaderBytes) return false;
    width = static_cast<std::int16_t>(Little(bytes + at + 4, 2));
    height = static_cast<std::int16_t>(Little(bytes + at + 6, 2));
  } else {
    if (headerSize < kInfoHeaderBytes || size - at < kInfoHeaderBytes) return false;
    width = static_cast<std::int32_t>(Little(bytes + at + 4, 4));
    height = static_cast<std::int32_t>(Little(bytes + at + 8, 4));
    if (height < 0) height = -height;
  }
  return width > 0 && height > 0 && width <= maxWidth && height <= maxHeight;
}

// An icon's picture stored as PNG: its header's width and height.
inline bool IconPngFits(const std::uint8_t* bytes, std::size_t length, std::int64_t side) {
  using namespace picture_checks;
  if (length < kPngHeaderBytes) return false;
  const std::int64_t width = Big(bytes + kPngWidthAt);
  const std::int64_t height = Big(bytes + kPngWidthAt + 4);
  return width > 0 && height > 0 && width <= side && height <= side;
}

// Whether the sizes the header claims fit maxSide and the file: a bitmap's
// width and height; every picture an icon directory lists lies inside the
// file and is at most the 256 x 256 the directory can state (a bitmap's
// height counts the mask too). Metafiles state
// no pixels; their size is measured once they are read, before any pixel is
// made.
inline bool SystemPictureHeaderFits(const std::uint8_t* bytes, std::size_t size,
                                    std::int32_t maxSide) {
  using namespace picture_checks;
  if (maxSide <= 0) return false;
  switch (SystemPictureOf(bytes, size)) {
    case SystemPicture::kBitmap:
      return BitmapInfoFits(bytes, size, kFileHeaderBytes, maxSide, maxSide);
    case SystemPicture::kIcon: {
      const std::size_t count = Little(bytes + 4, 2);
      if (count == 0 || (size - kIconDirBytes) / kIconEntryBytes < count) return false;
      for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes + kIconDirBytes + i * kIconEntryBytes;
        const std::size_t length = Little(entry + 8, 4);
        const std::size_t offset = Little(entry + 12, 4);
        if (offset > size || length > size - offset || length < 4) return false;
        const std::int64_t side = maxSide < kLargestIconSide ? maxSide : kLargestIconSide;
        const bool fits = Little(bytes + offset, 4) == kPngSignature
                              ? IconPngFits(bytes + offset, length, side)
                              : BitmapInfoFits(bytes, offset + length, offset, side, 2 * side);
        if (!fits) return false;
      }
      return true;
    }
    case SystemPicture::kMetafile:
    case SystemPicture::kEnhancedMetafile:
      return true;
    case SystemPicture::kNone:
      break;
  }
  return false;
}

}  // namespace platform
