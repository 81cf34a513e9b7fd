#include "render/picture_file.h"

#include <new>
#include <vector>

#include "render/jpeg_decoder.h"
#include "render/picture_formats.h"
#include "render/png_decoder.h"

namespace render {

PictureLoader::PictureLoader(platform::FileSystem& files, platform::PictureDecoder& system,
                             platform::Log* log)
    : files_(files), system_(system), log_(log) {}

bool PictureLoader::Exists(const std::string& path) {
  // An empty path means no picture was chosen.
  if (path.empty()) return false;
  return files_.FileExists(path) || Failed(path, "no such file");
}

bool PictureLoader::Failed(const std::string& path, const char* why) {
  if (log_ != nullptr) log_->Write("picture not loaded, " + std::string(why) + ": " + path);
  return false;
}

bool PictureLoader::LoadPictureFile(const std::string& path, Bitmap* bitmap, std::int32_t maxSide) {
  const PictureFormat* format = FormatOfFileName(path);
  if (format == nullptr) return Failed(path, "not a kind of picture the program reads");
  try {
    std::vector<std::uint8_t> bytes;
    switch (files_.ReadWholeFile(path, kLargestPictureFile, false, &bytes)) {
      case platform::FileRead::kOk:
        break;
      case platform::FileRead::kMissing:
        return Failed(path, "no such file");
      case platform::FileRead::kCannotOpen:
        return Failed(path, "the file cannot be read");
      case platform::FileRead::kTooLarge:
        return Failed(path, "the file is too large");
    }
    PngDecoder png;
    JpegDecoder jpeg;
    platform::PictureDecoder* decoder = &system_;
    if (format->kind == PictureKind::kPng) decoder = &png;
    if (format->kind == PictureKind::kJpeg) decoder = &jpeg;
    const std::unique_ptr<platform::Picture> picture =
        decoder->Open(bytes.data(), bytes.size(), maxSide);
    if (picture == nullptr) return Failed(path, "damaged, or larger than the program draws");
    bitmap->SetSize(picture->Width(), picture->Height());
    if (bitmap->Width() != picture->Width() || bitmap->Height() != picture->Height()) {
      return Failed(path, "larger than the program draws");
    }
    return picture->DrawOnto(bitmap->Data()) || Failed(path, "it could not be drawn");
  } catch (const std::bad_alloc&) {
    return Failed(path, "out of memory");
  }
}

}  // namespace render
