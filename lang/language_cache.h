#pragma once
// The language file in use, kept parsed between the tray icon's
// notifications (every mouse move over the icon) and read again only when
// its size or write time changed, so an edit still shows at the next one.
#include <string>

#include "lang/unitLangFile.h"
#include "platform/log.h"
#include "platform/system.h"

namespace lang {

// A language name is a file name beside the program: one with a path
// separator, a drive or ".." would reach another folder.
bool IsPlainLanguageName(const std::string& languageName);

class LanguageCache {
 public:
  // The table of the named file (empty when there is none). Throws
  // LangFileError as TLangFile::LoadFile does; the next call then tries the
  // file again. A file read anew whose entries went beyond the bounds is
  // logged.
  const TLangFile& Load(platform::FileSystem& files, platform::Log& log,
                        const std::string& fileName);

 private:
  TLangFile table_;
  std::string fileName_;
  platform::FileStamp stamp_;
  bool loaded_ = false;
};

}  // namespace lang
