// Any bytes as a PNG and as a JPEG file: the decoders must refuse or decode
// them without a crash, a leak or undefined behaviour, within their limits.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/jpeg_decoder.h"
#include "render/png_decoder.h"
#include "render/texture.h"

namespace {
// The program's own limit: a picture of 8192 x 8192 (256 MiB) still fits the
// fuzzer's memory limit.
constexpr std::int32_t kMaxSide = render::kLargestPictureSide;

void Decode(platform::PictureDecoder& decoder, const std::uint8_t* data, std::size_t size) {
  const auto picture = decoder.Open(data, size, kMaxSide);
  if (picture == nullptr) return;
  if (picture->Width() <= 0 || picture->Height() <= 0 || picture->Width() > kMaxSide ||
      picture->Height() > kMaxSide) {
    __builtin_trap();  // a size the decoder promised never to report
  }
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(picture->Width()) *
                                   static_cast<std::size_t>(picture->Height()) * 4);
  picture->DrawOnto(pixels.data());
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  render::PngDecoder png;
  render::JpegDecoder jpeg;
  Decode(png, data, size);
  Decode(jpeg, data, size);
  return 0;
}
