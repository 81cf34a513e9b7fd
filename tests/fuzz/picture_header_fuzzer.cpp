// Any bytes through the checks that the system's picture kinds (bitmaps,
// icons, metafiles) pass before the system decodes them: no crash or
// undefined behaviour, and a file that passes is of a kind, within its cap.
#include <cstddef>
#include <cstdint>

#include "platform/picture_checks.h"
#include "render/texture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::int32_t kSides[] = {1, 256, render::kLargestPictureSide};
  const platform::SystemPicture kind = platform::SystemPictureOf(data, size);
  for (const std::int32_t side : kSides) {
    if (platform::SystemPictureHeaderFits(data, size, side) &&
        kind == platform::SystemPicture::kNone) {
      __builtin_trap();  // passed without being any of the kinds
    }
    if (kind == platform::SystemPicture::kBitmap &&
        platform::SystemPictureByteCap(kind, side) <
            static_cast<std::size_t>(side) * static_cast<std::size_t>(side) * 4) {
      __builtin_trap();  // a cap below the largest picture it must admit
    }
  }
  return 0;
}
