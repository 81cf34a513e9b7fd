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

// A picture file larger than this is not read at all.
constexpr std::size_t kLargestPictureFile = (256u << 20) + platform::kBitmapHeaderRoom;

class PictureLoader {
 public:
  // `system` decodes the platform's own kinds: bitmaps, icons, metafiles.
  // With a log, every picture that does not load is written there with why.
  PictureLoader(platform::FileSystem& files, platform::PictureDecoder& system,
                platform::Log* log = nullptr);

  // Replaces the bitmap's content by the picture in the file, drawn at its
  // own size over what the bitmap held. The extension alone picks the
  // decoder. False on any failure (unknown extension, unreadable, damaged,
  // a side beyond maxSide, out of memory); the bitmap may then have been
  // resized already.
  bool LoadPictureFile(const std::string& path, Bitmap* bitmap, std::int32_t maxSide);

  // Whether a picture was chosen and its file is there; a chosen one that is
  // missing is logged.
  bool Exists(const std::string& path);

 private:
  // Logs why the picture did not load; false.
  bool Failed(const std::string& path, const char* why);

  platform::FileSystem& files_;
  platform::PictureDecoder& system_;
  platform::Log* log_;
};

}  // namespace render
