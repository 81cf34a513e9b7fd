#pragma once
#include <windows.h>

#include <string>

#include "platform/log.h"

namespace platform::win32 {

// The log in two files of a directory, "RomboDesktop.log" and the one before
// it, "RomboDesktop.old.log"; every line also goes to OutputDebugString, so a
// debugger sees it even where the files cannot be written. Any thread may
// write. A file that cannot be written never stops the program.
class Win32FileLog : public Log {
 public:
  static constexpr const char* kFileName = "RomboDesktop.log";
  static constexpr const char* kOlderFileName = "RomboDesktop.old.log";

  // The user's local application data, "...\RomboDesktop\", made if missing;
  // empty when the system names no such folder.
  static std::string DefaultDirectory();

  // `directory` ends in a separator; an empty one keeps only the debugger's
  // copy.
  explicit Win32FileLog(std::string directory);
  ~Win32FileLog() override = default;
  Win32FileLog(const Win32FileLog&) = delete;
  Win32FileLog& operator=(const Win32FileLog&) = delete;

 protected:
  void Append(const std::string& what, std::uint32_t systemError) override;

 private:
  void WriteToFile(const std::string& line);

  std::string directory_;
  SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace platform::win32
