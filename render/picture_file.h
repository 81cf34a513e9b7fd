#pragma once
// Loading the user's picture files for the caps and the background.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/log.h"
#include "platform/picture_checks.h"
#include "platform/picture_decoder.h"
#include "platform/system.h"
#include "render/bitmap.h"

namespace render {

// A picture file larger than this is not read at all: room for the
// largest bitmap the decoders take (8192 x 8192 at 32 bits) and its headers.
constexpr std::size_t kLargestPictureFile = (256u << 20) + platform::kBitmapHeaderRoom;

class PictureLoader {
 public:
  // `system` decodes the platform's own kinds: bitmaps, icons, metafiles.
  PictureLoader(platform::FileSystem& files, platform::PictureDecoder& system, platform::Log& log);

  // Replaces the bitmap's content by the picture in the file, drawn at its
  // own size over what the bitmap held. The extension alone picks the
  // decoder. False on any failure (unknown extension, unreadable, damaged,
  // a side beyond maxSide, beyond its kind's cap, out of memory), which is
  // logged; the bitmap may then have been resized already.
  bool LoadPictureFile(const std::string& path, Bitmap* bitmap, std::int32_t maxSide);

  bool Exists(const std::string& path);

 private:
  bool Refused(const std::string& path, const std::string& why);

  platform::FileSystem& files_;
  platform::PictureDecoder& system_;
  platform::Log& log_;
};

}  // namespace render
