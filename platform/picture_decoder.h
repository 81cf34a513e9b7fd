#pragma once
// Decoding of picture files held in memory. The program decodes PNG and
// JPEG itself; the system's own kinds (bitmaps, icons, metafiles) go through
// the platform.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

// An opened picture whose size is known, ready to be drawn.
class Picture {
 public:
  virtual ~Picture() = default;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // Draws the picture at its own size onto Width() x Height() pixels of 32
  // bits (blue, green, red, unused; rows bottom-up), over what they hold, so
  // transparent parts leave them as they were. False when the picture turns
  // out to be damaged; the pixels may then be partly drawn.
  virtual bool DrawOnto(std::uint8_t* pixels) = 0;
};

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // Opens the picture in `bytes`, which must outlive it. Null when they
  // hold no picture this decoder reads, or one with a side of 0 or beyond
  // maxSide (checked before anything of that size is allocated).
  virtual std::unique_ptr<Picture> Open(const std::uint8_t* bytes, std::size_t size,
                                        std::int32_t maxSide) = 0;
};

}  // namespace platform
