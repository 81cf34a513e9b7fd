#include "render/picture_formats.h"

namespace render {

namespace {
char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

const PictureFormat* FormatOfFileName(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t separator = fileName.find_last_of("\\/");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
    return nullptr;
  }
  std::string extension = fileName.substr(dot + 1);
  for (char& c : extension) c = LowerAscii(c);
  for (const PictureFormat& format : kPictureFormats) {
    if (extension == format.extension) return &format;
  }
  return nullptr;
}

}  // namespace render
