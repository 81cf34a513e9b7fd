#include "platform/win32/file_log.h"

#include <shlobj.h>

#include <cstdio>
#include <utility>

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

constexpr const char* kFolderName = "RomboDesktop\\";

// The system's text for an error code, on one line; empty if it has none.
std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result(text != nullptr ? text : "", length);
  LocalFree(text);
  while (!result.empty() &&
         (result.back() == '\r' || result.back() == '\n' || result.back() == ' '))
    result.pop_back();
  for (char& c : result) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return result;
}

std::string FormatLine(const std::string& what, std::uint32_t systemError) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof(stamp), "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
  std::string line = stamp + what;
  if (systemError != 0) {
    line += " (error " + std::to_string(systemError);
    const std::string text = SystemErrorText(systemError);
    if (!text.empty()) line += ": " + text;
    line += ")";
  }
  // One line a record, never more than a file holds.
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (line.size() + 2 > kLogFileLimit) line.resize(kLogFileLimit - 2);
  return line + "\r\n";
}

KernelHandle OpenForAppending(const std::string& path, DWORD disposition) {
  return KernelHandle(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::string Win32FileLog::DefaultDirectory() {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                              SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  std::string directory = folder;
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  directory += kFolderName;
  // An existing folder is what a second start finds; any other failure
  // shows when the file cannot be opened.
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

Win32FileLog::Win32FileLog(std::string directory) : directory_(std::move(directory)) {}

void Win32FileLog::Append(const std::string& what, std::uint32_t systemError) {
  const std::string line = FormatLine(what, systemError);
  OutputDebugStringA(("RomboDesktop: " + line).c_str());
  if (directory_.empty()) return;
  AcquireSRWLockExclusive(&lock_);
  WriteToFile(line);
  ReleaseSRWLockExclusive(&lock_);
}

void Win32FileLog::WriteToFile(const std::string& line) {
  const std::string current = directory_ + kFileName;
  KernelHandle file = OpenForAppending(current, OPEN_ALWAYS);
  if (!file.valid()) return;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return;
  if (LogStartsNewFile(static_cast<std::size_t>(size.QuadPart), line.size())) {
    file.reset();
    const std::string older = directory_ + kOlderFileName;
    if (!MoveFileExA(current.c_str(), older.c_str(), MOVEFILE_REPLACE_EXISTING)) return;
    file = OpenForAppending(current, CREATE_ALWAYS);
    if (!file.valid()) return;
  }
  DWORD written = 0;
  WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace platform::win32
