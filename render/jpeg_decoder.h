#pragma once
// JPEG pictures through libjpeg, for every platform alike.
#include "platform/picture_decoder.h"

namespace render {

class JpegDecoder : public platform::PictureDecoder {
 public:
  std::unique_ptr<platform::Picture> Open(const std::uint8_t* bytes, std::size_t size,
                                          std::int32_t maxSide) override;
};

}  // namespace render
