#include "ansi_temp_path.h"

#include <cstring>
#include <string>

namespace {

// The longest path the wide file functions take.
constexpr DWORD kLongestPath = 32767;

// Runs a wide call that fills a buffer and answers like GetTempPathW (the
// length, or the size needed when the buffer is too small); empty on
// failure.
template <class Call>
std::wstring GrowingCall(Call call) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  DWORD length = call(static_cast<DWORD>(buffer.size()), &buffer[0]);
  if (length >= buffer.size()) {
    if (length > kLongestPath + 1) return std::wstring();
    buffer.assign(length, L'\0');
    length = call(static_cast<DWORD>(buffer.size()), &buffer[0]);
    // The answer may have changed between the calls; give up then.
    if (length >= buffer.size()) return std::wstring();
  }
  buffer.resize(length);
  return buffer;
}

// The text in the ANSI code page, or empty when a character has no exact
// counterpart there (a best-fit letter would name another directory).
std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  // UTF-8 as the system code page has every character and takes no flags.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL lossy = FALSE;
  BOOL* lossyReport = utf8 ? nullptr : &lossy;
  const int size =
      WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, lossyReport);
  if (size <= 0 || lossy) return std::string();
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, flags, text.data(), length, &result[0], size, nullptr, nullptr);
  return result;
}

}  // namespace

DWORD GetAnsiTempPath(DWORD bufferLength, char* buffer) {
  const std::wstring wide =
      GrowingCall([](DWORD size, wchar_t* out) { return GetTempPathW(size, out); });
  if (wide.empty()) return 0;
  std::string path = ToAnsi(wide);
  if (path.empty()) {
    path = ToAnsi(GrowingCall(
        [&wide](DWORD size, wchar_t* out) { return GetShortPathNameW(wide.c_str(), out, size); }));
  }
  if (path.empty()) return 0;
  if (path.size() >= bufferLength) return static_cast<DWORD>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
