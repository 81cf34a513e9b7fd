// probe: output, parsing and window facts the commands share.

#include <windows.h>

#include "probe_common.h"

#include <cerrno>
#include <cstdio>
#include <cwchar>

namespace probe {

// ---------------------------------------------------------------- output

std::string utf8(const std::wstring& w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring field(std::wstring s) {
  for (auto& c : s)
    if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
  return s;
}

int usage(const char* why) {
  std::fprintf(stderr, "probe: %s (run it without a command for the usage of each)\n", why);
  return 2;
}

// ---------------------------------------------------------------- parsing

bool parse_ll(const std::wstring& s, long long& out) {
  if (s.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  bool neg = s[0] == L'-';
  const wchar_t* p = s.c_str() + (neg ? 1 : 0);
  unsigned long long v = std::wcstoull(p, &end, 0);
  if (errno || !end || *end || end == p) return false;
  out = neg ? -static_cast<long long>(v) : static_cast<long long>(v);
  return true;
}

bool parse_hwnd(const std::wstring& s, HWND& out) {
  long long v;
  if (!parse_ll(s, v)) return false;
  out = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
  return true;
}

// ---------------------------------------------------------------- window facts

std::wstring class_of(HWND h) {
  wchar_t buf[256] = {0};
  GetClassNameW(h, buf, 256);
  return buf;
}

// GetWindowText would send WM_GETTEXT and can hang on a stuck product window;
// InternalGetWindowText reads the stored caption without messaging.
std::wstring title_of(HWND h) {
  wchar_t buf[512] = {0};
  InternalGetWindowText(h, buf, 512);
  return buf;
}

// For child controls (edits etc.) the text lives in the control, so ask it,
// with a timeout so a hung owner cannot hang the probe.
std::wstring control_text(HWND h) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
    return title_of(h);
  std::vector<wchar_t> buf(len + 2, 0);
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutW(h, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                           SMTO_ABORTIFHUNG, 2000, &got))
    return title_of(h);
  return std::wstring(buf.data());
}

void window_line(Line& ln, HWND h) {
  RECT r = {0, 0, 0, 0};
  GetWindowRect(h, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  ln.hwnd(h)
      .add(class_of(h))
      .add(title_of(h))
      .add(static_cast<long long>(r.left))
      .add(static_cast<long long>(r.top))
      .add(static_cast<long long>(r.right))
      .add(static_cast<long long>(r.bottom))
      .add(static_cast<long long>(IsWindowVisible(h) ? 1 : 0))
      .hex(static_cast<unsigned long long>(static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE))))
      .add(static_cast<long long>(pid))
      .hex(static_cast<unsigned long long>(static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE))));
}

// A named CALLBACK, not a lambda: 32-bit builds need the stdcall convention.
BOOL CALLBACK collect_window(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

std::vector<HWND> top_level_windows() {
  std::vector<HWND> v;
  EnumWindows(collect_window, reinterpret_cast<LPARAM>(&v));
  return v;
}

std::vector<HWND> child_windows(HWND parent) {
  std::vector<HWND> v;
  EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&v));
  return v;
}

bool need_window(const std::wstring& arg, HWND& h) {
  if (!parse_hwnd(arg, h)) return false;
  if (!IsWindow(h)) {
    std::fprintf(stderr, "probe: %s is not a window\n", utf8(arg).c_str());
    return false;
  }
  return true;
}

void print_rect(HWND h) {
  RECT r = {0, 0, 0, 0};
  GetWindowRect(h, &r);
  Line ln;
  ln.add(static_cast<long long>(r.left))
      .add(static_cast<long long>(r.top))
      .add(static_cast<long long>(r.right))
      .add(static_cast<long long>(r.bottom))
      .emit();
}

}  // namespace probe
