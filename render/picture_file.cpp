#include "render/picture_file.h"

#include <new>
#include <string>
#include <vector>

#include "render/jpeg_decoder.h"
#include "render/picture_formats.h"
#include "render/png_decoder.h"

namespace render {

PictureLoader::PictureLoader(platform::FileSystem& files, platform::PictureDecoder& system,
                             platform::Log& log)
    : files_(files), system_(system), log_(log) {}

bool PictureLoader::Refused(const std::string& path, const std::string& why) {
  log_.Write("Picture " + path + " not loaded: " + why);
  return false;
}

bool PictureLoader::Exists(const std::string& path) {
  // An empty path means no picture was chosen.
  return !path.empty() && files_.FileExists(path);
}

bool PictureLoader::LoadPictureFile(const std::string& path, Bitmap* bitmap, std::int32_t maxSide) {
  const PictureFormat* format = FormatOfFileName(path);
  if (format == nullptr) return Refused(path, "not a kind of picture the program reads");
  try {
    std::vector<std::uint8_t> bytes;
    switch (files_.ReadWholeFile(path, kLargestPictureFile, false, &bytes)) {
      case platform::FileRead::kOk:
        break;
      case platform::FileRead::kTooLarge:
        return Refused(path, "larger than any picture the program takes");
      case platform::FileRead::kMissing:
      case platform::FileRead::kCannotOpen:
        return Refused(path, "cannot be read");
    }
    PngDecoder png;
    JpegDecoder jpeg;
    platform::PictureDecoder* decoder = &system_;
    if (format->kind == PictureKind::kPng) decoder = &png;
    if (format->kind == PictureKind::kJpeg) decoder = &jpeg;
    const std::unique_ptr<platform::Picture> picture =
        decoder->Open(bytes.data(), bytes.size(), maxSide);
    if (picture == nullptr) {
      return Refused(path, "damaged, beyond its kind's size, or more than " +
                               std::to_string(maxSide) + " pixels on a side");
    }
    bitmap->SetSize(picture->Width(), picture->Height());
    if (bitmap->Width() != picture->Width() || bitmap->Height() != picture->Height()) return false;
    return picture->DrawOnto(bitmap->Data()) || Refused(path, "damaged");
  } catch (const std::bad_alloc&) {
    return Refused(path, "out of memory");
  }
}

}  // namespace render
