#include "lang/language_cache.h"

namespace lang {

namespace {
constexpr const char* kParentFolder = "..";
// Path separators and the drive's colon.
constexpr const char* kPathCharacters = "\\/:";
}  // namespace

bool IsPlainLanguageName(const std::string& languageName) {
  return languageName.find_first_of(kPathCharacters) == std::string::npos &&
         languageName.find(kParentFolder) == std::string::npos;
}

const TLangFile& LanguageCache::Load(platform::FileSystem& files, platform::Log& log,
                                     const std::string& fileName) {
  const platform::FileStamp stamp = files.Stamp(fileName);
  if (loaded_ && fileName == fileName_ && stamp == stamp_) return table_;
  loaded_ = false;
  table_ = TLangFile();
  table_.LoadFile(files, fileName);
  if (table_.Dropped() != 0) {
    log.Write("Language file " + fileName +
              " goes beyond the bounds of a language file; entries dropped: " +
              std::to_string(table_.Dropped()));
  }
  fileName_ = fileName;
  stamp_ = stamp;
  loaded_ = true;
  return table_;
}

}  // namespace lang
