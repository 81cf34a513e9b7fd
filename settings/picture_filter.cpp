#include "settings/picture_filter.h"

#include <string>

#include "render/picture_formats.h"

namespace settings {

namespace {
constexpr const char* kAllDescription = "All";
constexpr const char* kPatternSeparator = ";";
}  // namespace

std::vector<platform::FileFilter> PictureFilters() {
  std::vector<platform::FileFilter> filters;
  filters.push_back({kAllDescription, ""});
  for (const render::PictureFormat& format : render::kPictureFormats) {
    const std::string pattern = std::string("*.") + format.extension;
    if (!filters.front().patterns.empty()) filters.front().patterns += kPatternSeparator;
    filters.front().patterns += pattern;
    filters.push_back({std::string(format.description) + " (" + pattern + ")", pattern});
  }
  return filters;
}

}  // namespace settings
