#pragma once
#include "platform/picture_decoder.h"

namespace platform::win32 {

// The system's own picture kinds (bitmaps, icons, metafiles, enhanced
// metafiles), through OLE's picture objects.
class Win32PictureDecoder : public PictureDecoder {
 public:
  std::unique_ptr<Picture> Open(const std::uint8_t* bytes, std::size_t size,
                                std::int32_t maxSide) override;
};

}  // namespace platform::win32
