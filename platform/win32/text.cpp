#include "platform/win32/text.h"

#include <climits>
#include <vector>

namespace platform::win32 {

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (wide <= 0) return std::wstring();
  std::wstring result(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, result.data(), wide);
  return result;
}

std::string Narrow(const std::wstring& text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const int length = static_cast<int>(text.size());
  const int narrow =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (narrow <= 0) return std::string();
  std::string result(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), length, result.data(), narrow, nullptr, nullptr);
  return result;
}

std::string WindowTextAnsi(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::string();
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  return Narrow(std::wstring(buffer.data(), static_cast<std::size_t>(got > 0 ? got : 0)), CP_ACP);
}

}  // namespace platform::win32
