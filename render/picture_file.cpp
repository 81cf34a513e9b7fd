#include "render/picture_file.h"

#include <new>
#include <vector>

#include "render/jpeg_decoder.h"
#include "render/picture_formats.h"
#include "render/png_decoder.h"

namespace render {

PictureLoader::PictureLoader(platform::FileSystem& files, platform::PictureDecoder& system)
    : files_(files), system_(system) {}

bool PictureLoader::Exists(const std::string& path) {
  // An empty path means no picture was chosen.
  return !path.empty() && files_.FileExists(path);
}

bool PictureLoader::LoadPictureFile(const std::string& path, Bitmap* bitmap, std::int32_t maxSide) {
  const PictureFormat* format = FormatOfFileName(path);
  if (format == nullptr) return false;
  try {
    std::vector<std::uint8_t> bytes;
    if (files_.ReadWholeFile(path, kLargestPictureFile, false, &bytes) != platform::FileRead::kOk) {
      return false;
    }
    PngDecoder png;
    JpegDecoder jpeg;
    platform::PictureDecoder* decoder = &system_;
    if (format->kind == PictureKind::kPng) decoder = &png;
    if (format->kind == PictureKind::kJpeg) decoder = &jpeg;
    const std::unique_ptr<platform::Picture> picture =
        decoder->Open(bytes.data(), bytes.size(), maxSide);
    if (picture == nullptr) return false;
    bitmap->SetSize(picture->Width(), picture->Height());
    if (bitmap->Width() != picture->Width() || bitmap->Height() != picture->Height()) return false;
    return picture->DrawOnto(bitmap->Data());
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace render
