#include "render/picture_formats.h"

#include "lang/lang_text.h"

namespace render {

const PictureFormat* FormatOfFileName(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of('.');
  const std::size_t separator = fileName.find_last_of("\\/");
  if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) {
    return nullptr;
  }
  const std::string extension = lang::LowerAscii(fileName.substr(dot + 1));
  for (const PictureFormat& format : kPictureFormats) {
    if (extension == format.extension) return &format;
  }
  return nullptr;
}

}  // namespace render
