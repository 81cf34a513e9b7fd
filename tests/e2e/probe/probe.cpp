// probe: looks at the Windows desktop from outside the product, for e2e tests.
//
// Output is one record per line, fields separated by TAB, UTF-8, "\r\n"
// line ends (the harness strips CRs). Window handles print as 0x<hex> and are
// accepted as hex (0x...) or decimal. Exit status: 0 ok, 1 "not found" /
// negative answer, 2 usage or API error.
//
//   probe list                         hwnd class title l t r b visible exstyle pid style
//   probe find <class|-> [title|-] [--pid N] [--visible]
//                                      (class/title: exact, '*' and '?' wildcards)
//   probe rect <hwnd>                  l t r b
//   probe post <hwnd> <msg> <wp> <lp>  msg: number or WM_CLOSE, WM_COMMAND, ...
//   probe send <hwnd> <msg> <wp> <lp>  prints the LRESULT; exit 1 on timeout
//   probe activate <hwnd>              prints the foreground hwnd afterwards
//   probe foreground                   hwnd class title
//   probe text <hwnd>                  window text, then: hwnd class text per child
//   probe move <hwnd> <x> <y>          prints the rect read back
//   probe window <x> <y> <w> <h> <title> [--layered] [--topmost] [--toolwindow]
//                [--color RRGGBB] [--tray] [--class NAME] [--ignore-close]
//                                      prints its hwnd, then runs until closed;
//                                      --tray also adds notification icon uid 1;
//                                      --ignore-close swallows WM_CLOSE (a copy
//                                      that never answers a close request)
//   probe hotkey-free <mods> <vk>      "free" or "taken <GetLastError>"
//   probe tray                         taskbar window, then its children (as in list)
//   probe tray-has <hwnd> <uid>        "present" / "absent" (exit 1)
//   probe tray-del <hwnd> <uid>        removes that notification icon, as a shell
//                                      restart loses every icon
//   probe hold <path>                  opens the file without sharing, prints "held",
//                                      keeps it open until killed
//   probe screen                       width height
//   probe child <parent> <id>          hwnd of the dialog control with that id
//   probe settext <hwnd> <text>        WM_SETTEXT (as typing would, it notifies)
//   probe combo <hwnd>                 selected index and count, then one item per line
//   probe menu [timeout_ms]            the open popup menu: "index text flags l t r b" per
//                                      item, flags from separator,default,disabled,checked,
//                                      l t r b the item's rectangle on the screen
//                                      (needs probe_hook.dll beside probe.exe)
//   probe exe-path <hwnd>              full path of the executable that owns the window
//   probe pid                          own process id (sanity check of the harness)
//   probe suspend <hwnd>               suspends the thread that owns the window;
//                                      prints its thread id (stays suspended
//                                      after the probe exits)
//   probe resume <hwnd>                resumes that thread; prints its thread id
//   probe crash <hwnd>                 starts a thread at address 0 in the
//                                      window's process, which crashes it
//   probe terminate <hwnd> <code>      ends the window's process with that exit
//                                      code (TerminateProcess, as End task does)
//   probe usage <hwnd>                 of the window's process: gdi user
//                                      handles private_bytes (the system's
//                                      answers), then GDI objects counted in
//                                      the process's GDI handle table, handles
//                                      counted in the system handle table and
//                                      windows owned (for where those answers
//                                      are stubs, as under Wine; -1: unknown),
//                                      and the committed private bytes of its
//                                      address space
//   probe wait <ms> <cond>...          waits until every condition holds; a
//                                      condition is <hwnd>:visible=0|1,
//                                      <hwnd>:left=N or key:<vk>=0|1 (down,
//                                      as GetAsyncKeyState sees it; 1 is the
//                                      left button); exit 1 on timeout, after
//                                      a line per condition: "met:" or "not
//                                      met:", the condition, then what was
//                                      found (hwnd visible V left L, or key K)
//   probe watch <ms> <hwnd>...         prints "watching", then polls the
//                                      windows' visibility for ms milliseconds;
//                                      per window prints hwnd and the states
//                                      seen ("1 0 1")
//   probe mouse-move <x> <y>           moves the mouse there as input does and
//                                      prints the milliseconds until the cursor
//                                      stands there; exit 1 after 10 s
//   probe trace <hwnd>                 prints "tracing", then until killed a
//                                      line per arrow key and left press the
//                                      system takes in ("key Left|Right down|up
//                                      ctrl|- alt|- tick", "press down ctrl|-
//                                      alt|- tick") and per WM_HOTKEY the
//                                      window's thread takes from its queue
//                                      ("hotkey id tick") (needs probe_hook.dll
//                                      beside probe.exe)
//   probe hotkey-hold <mods> <vk>...   holds the hotkeys as another program would:
//                                      registers each <mods> <vk> pair, prints
//                                      "held", keeps them until killed; exit 1
//                                      if one is taken already

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "probe_hook.h"

namespace {

// ---------------------------------------------------------------- output

std::string utf8(const std::wstring& w) {
  if (w.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
  return s;
}

// Titles may hold TABs or newlines; they would break the one-record-per-line format.
std::wstring field(std::wstring s) {
  for (auto& c : s)
    if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
  return s;
}

struct Line {
  std::string text;
  Line& add(const std::string& s) {
    if (!text.empty() || started) text += '\t';
    text += s;
    started = true;
    return *this;
  }
  Line& add(const std::wstring& s) { return add(utf8(field(s))); }
  Line& add(long long v) { return add(std::to_string(v)); }
  Line& hex(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", v);
    return add(std::string(buf));
  }
  Line& hwnd(HWND h) {
    return hex(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
  }
  void emit() {
    text += "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);  // tests read lines while a probe window keeps running
  }
  bool started = false;
};

int usage(const char* why) {
  std::fprintf(stderr, "probe: %s (see the header of probe.cpp for usage)\n", why);
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

struct MsgName {
  const wchar_t* name;
  UINT value;
};
const MsgName kMessages[] = {
    {L"WM_NULL", WM_NULL},
    {L"WM_CLOSE", WM_CLOSE},
    {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
    {L"WM_ENDSESSION", WM_ENDSESSION},
    {L"WM_QUIT", WM_QUIT},
    {L"WM_COMMAND", WM_COMMAND},
    {L"WM_SYSCOMMAND", WM_SYSCOMMAND},
    {L"WM_HOTKEY", WM_HOTKEY},
    {L"WM_TIMER", WM_TIMER},
    {L"WM_KEYDOWN", WM_KEYDOWN},
    {L"WM_KEYUP", WM_KEYUP},
    {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {L"WM_LBUTTONUP", WM_LBUTTONUP},
    {L"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
    {L"WM_RBUTTONUP", WM_RBUTTONUP},
    {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
    {L"WM_CONTEXTMENU", WM_CONTEXTMENU},
    {L"WM_SETTEXT", WM_SETTEXT},
    {L"WM_GETTEXTLENGTH", WM_GETTEXTLENGTH},
    {L"WM_ENDSESSION", WM_ENDSESSION},
    {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
    {L"WM_USER", WM_USER},
    {L"WM_APP", WM_APP},
};

// Accepts a number, a name from the table, or NAME+N (e.g. WM_APP+1).
bool parse_msg(const std::wstring& s, UINT& out) {
  long long v;
  if (parse_ll(s, v)) {
    out = static_cast<UINT>(v);
    return true;
  }
  std::wstring name = s;
  long long offset = 0;
  size_t plus = s.find(L'+');
  if (plus != std::wstring::npos) {
    name = s.substr(0, plus);
    if (!parse_ll(s.substr(plus + 1), offset)) return false;
  }
  for (const auto& m : kMessages) {
    if (_wcsicmp(m.name, name.c_str()) == 0) {
      out = static_cast<UINT>(m.value + offset);
      return true;
    }
  }
  // Registered messages (e.g. TaskbarCreated) by their string.
  if (name.rfind(L"reg:", 0) == 0) {
    out = RegisterWindowMessageW(name.c_str() + 4) + static_cast<UINT>(offset);
    return out != 0;
  }
  return false;
}

// '*' any run, '?' one char; case-insensitive when asked (class names are).
bool wildmatch(const wchar_t* pat, const wchar_t* s, bool icase) {
  auto eq = [icase](wchar_t a, wchar_t b) { return icase ? (towlower(a) == towlower(b)) : a == b; };
  const wchar_t* star = nullptr;
  const wchar_t* resume = nullptr;
  while (*s) {
    if (*pat == L'*') {
      star = pat++;
      resume = s;
    } else if (*pat == L'?' || (*pat && eq(*pat, *s))) {
      ++pat;
      ++s;
    } else if (star) {
      pat = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*pat == L'*') ++pat;
  return *pat == 0;
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

// ---------------------------------------------------------------- commands

int cmd_list() {
  for (HWND h : top_level_windows()) {
    Line ln;
    window_line(ln, h);
    ln.emit();
  }
  return 0;
}

int cmd_find(const std::vector<std::wstring>& a) {
  if (a.empty()) return usage("find <class|-> [title|-] [--pid N] [--visible]");
  std::wstring cls = a[0], title = L"-";
  long long pid = -1;
  bool visible_only = false;
  size_t i = 1;
  if (i < a.size() && a[i].rfind(L"--", 0) != 0) title = a[i++];
  for (; i < a.size(); ++i) {
    if (a[i] == L"--visible") {
      visible_only = true;
    } else if (a[i] == L"--pid" && i + 1 < a.size() && parse_ll(a[i + 1], pid)) {
      ++i;
    } else {
      return usage("find: bad option");
    }
  }
  int found = 0;
  for (HWND h : top_level_windows()) {
    if (cls != L"-" && !wildmatch(cls.c_str(), class_of(h).c_str(), true)) continue;
    if (title != L"-" && !wildmatch(title.c_str(), title_of(h).c_str(), false)) continue;
    if (visible_only && !IsWindowVisible(h)) continue;
    if (pid >= 0) {
      DWORD p = 0;
      GetWindowThreadProcessId(h, &p);
      if (static_cast<long long>(p) != pid) continue;
    }
    Line ln;
    ln.hwnd(h).emit();
    ++found;
  }
  return found ? 0 : 1;
}

int cmd_rect(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("rect <hwnd>");
  if (!need_window(a[0], h)) return 1;
  print_rect(h);
  return 0;
}

int cmd_post_send(const std::vector<std::wstring>& a, bool send) {
  HWND h;
  UINT msg;
  long long wp, lp;
  if (a.size() != 4) return usage("post|send <hwnd> <msg> <wparam> <lparam>");
  if (!parse_hwnd(a[0], h)) return usage("bad hwnd");
  if (!parse_msg(a[1], msg)) return usage("bad message");
  if (!parse_ll(a[2], wp) || !parse_ll(a[3], lp)) return usage("bad wparam/lparam");
  if (!send) {
    if (!PostMessageW(h, msg, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp))) {
      std::fprintf(stderr, "probe: PostMessage failed: %lu\n", GetLastError());
      return 1;
    }
    return 0;
  }
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp),
                           SMTO_ABORTIFHUNG, 5000, &result)) {
    std::fprintf(stderr, "probe: SendMessageTimeout failed: %lu\n", GetLastError());
    return 1;
  }
  Line ln;
  ln.add(static_cast<long long>(static_cast<LONG_PTR>(result))).emit();
  return 0;
}

// Detaches the input queues again however the activation attempt ends.
class InputAttach {
 public:
  InputAttach(DWORD from, DWORD to) : from_(from), to_(to) {
    attached_ = from_ != to_ && to_ != 0 && AttachThreadInput(from_, to_, TRUE);
  }
  ~InputAttach() {
    if (attached_) AttachThreadInput(from_, to_, FALSE);
  }
  InputAttach(const InputAttach&) = delete;
  InputAttach& operator=(const InputAttach&) = delete;

 private:
  DWORD from_, to_;
  bool attached_;
};

int cmd_activate(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("activate <hwnd>");
  if (!need_window(a[0], h)) return 1;
  if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
  // Foreground rights are only granted to the process that got the last
  // input, so borrow the current foreground thread's queue and fake an ALT tap.
  for (int attempt = 0; attempt < 5 && GetForegroundWindow() != h; ++attempt) {
    HWND fg = GetForegroundWindow();
    DWORD fg_thread = fg ? GetWindowThreadProcessId(fg, nullptr) : 0;
    DWORD target_thread = GetWindowThreadProcessId(h, nullptr);
    DWORD self = GetCurrentThreadId();
    InputAttach to_fg(self, fg_thread);
    InputAttach to_target(self, target_thread);
    keybd_event(VK_MENU, 0, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    SetForegroundWindow(h);
    BringWindowToTop(h);
    SetActiveWindow(h);
    if (GetForegroundWindow() != h) Sleep(50);
  }
  HWND now = GetForegroundWindow();
  Line ln;
  ln.hwnd(now).emit();
  return now == h ? 0 : 1;
}

int cmd_foreground() {
  HWND h = GetForegroundWindow();
  Line ln;
  ln.hwnd(h).add(h ? class_of(h) : std::wstring()).add(h ? title_of(h) : std::wstring()).emit();
  return 0;
}

int cmd_text(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("text <hwnd>");
  if (!need_window(a[0], h)) return 1;
  Line first;
  first.add(control_text(h)).emit();
  for (HWND c : child_windows(h)) {
    Line ln;
    ln.hwnd(c).add(class_of(c)).add(control_text(c)).emit();
  }
  return 0;
}

int cmd_move(const std::vector<std::wstring>& a) {
  HWND h;
  long long x, y;
  if (a.size() != 3) return usage("move <hwnd> <x> <y>");
  if (!need_window(a[0], h)) return 1;
  if (!parse_ll(a[1], x) || !parse_ll(a[2], y)) return usage("bad x/y");
  if (!SetWindowPos(h, nullptr, static_cast<int>(x), static_cast<int>(y), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)) {
    std::fprintf(stderr, "probe: SetWindowPos failed: %lu\n", GetLastError());
    return 1;
  }
  print_rect(h);
  return 0;
}

// ---- probe window

COLORREF g_fill = RGB(0x40, 0x80, 0xc0);
bool g_ignore_close = false;

LRESULT CALLBACK probe_wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      // A solid colour makes the window easy to find in screenshots.
      HBRUSH brush = CreateSolidBrush(g_fill);
      if (brush) {
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
      }
      EndPaint(h, &ps);
      return 0;
    }
    case WM_CLOSE:
      if (g_ignore_close) return 0;
      return DefWindowProcW(h, msg, wp, lp);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(h, msg, wp, lp);
  }
}

// A notification icon owned by a probe window; gives tests a known icon to
// compare the product's with, and is removed with the window.
class TrayIcon {
 public:
  TrayIcon(HWND owner, const std::wstring& tip) : owner_(owner) {
    if (!owner_) return;
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    nid.uCallbackMessage = WM_APP + 1;
    nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(nid.szTip, tip.c_str(), ARRAYSIZE(nid.szTip));
    added_ = Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
    if (!added_) std::fprintf(stderr, "probe: Shell_NotifyIcon(NIM_ADD) failed\n");
  }
  ~TrayIcon() {
    if (!added_) return;
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner_;
    nid.uID = 1;
    Shell_NotifyIconW(NIM_DELETE, &nid);
  }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

 private:
  HWND owner_;
  bool added_ = false;
};

int cmd_window(const std::vector<std::wstring>& a) {
  long long x, y, w, hgt;
  if (a.size() < 5)
    return usage(
        "window <x> <y> <w> <h> <title> [--layered] [--topmost] [--toolwindow] [--color RRGGBB]");
  if (!parse_ll(a[0], x) || !parse_ll(a[1], y) || !parse_ll(a[2], w) || !parse_ll(a[3], hgt))
    return usage("bad geometry");
  DWORD ex = 0;
  bool layered = false;
  bool tray = false;
  std::wstring window_class = L"RomboProbeWindow";
  for (size_t i = 5; i < a.size(); ++i) {
    if (a[i] == L"--layered") {
      ex |= WS_EX_LAYERED;
      layered = true;
    } else if (a[i] == L"--topmost") {
      ex |= WS_EX_TOPMOST;
    } else if (a[i] == L"--toolwindow") {
      ex |= WS_EX_TOOLWINDOW;
    } else if (a[i] == L"--tray") {
      tray = true;
    } else if (a[i] == L"--ignore-close") {
      g_ignore_close = true;
    } else if (a[i] == L"--class" && i + 1 < a.size()) {
      window_class = a[++i];
    } else if (a[i] == L"--color" && i + 1 < a.size()) {
      unsigned long rgb = std::wcstoul(a[++i].c_str(), nullptr, 16);
      g_fill = RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
    } else {
      return usage("window: bad option");
    }
  }
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = probe_wndproc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = window_class.c_str();
  if (!RegisterClassExW(&wc)) return usage("RegisterClassEx failed");
  HWND h = CreateWindowExW(ex, wc.lpszClassName, a[4].c_str(), WS_OVERLAPPEDWINDOW,
                           static_cast<int>(x), static_cast<int>(y), static_cast<int>(w),
                           static_cast<int>(hgt), nullptr, nullptr, wc.hInstance, nullptr);
  if (!h) {
    std::fprintf(stderr, "probe: CreateWindowEx failed: %lu\n", GetLastError());
    return 2;
  }
  // A layered window without attributes is never drawn; make it opaque.
  if (layered) SetLayeredWindowAttributes(h, 0, 255, LWA_ALPHA);
  ShowWindow(h, SW_SHOWNOACTIVATE);
  UpdateWindow(h);
  TrayIcon icon(tray ? h : nullptr, a[4]);
  Line ln;
  ln.hwnd(h).emit();
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  return 0;
}

// Unregisters on every exit path so the probe never keeps the hotkey it tested.
class HotkeyRegistration {
 public:
  HotkeyRegistration(UINT mods, UINT vk) {
    ok_ = RegisterHotKey(nullptr, kId, mods, vk) != 0;
    error_ = ok_ ? 0 : GetLastError();
  }
  ~HotkeyRegistration() {
    if (ok_) UnregisterHotKey(nullptr, kId);
  }
  HotkeyRegistration(const HotkeyRegistration&) = delete;
  HotkeyRegistration& operator=(const HotkeyRegistration&) = delete;
  bool ok() const { return ok_; }
  DWORD error() const { return error_; }

 private:
  static constexpr int kId = 0x7ff0;
  bool ok_;
  DWORD error_;
};

int cmd_hotkey_free(const std::vector<std::wstring>& a) {
  long long mods, vk;
  if (a.size() != 2 || !parse_ll(a[0], mods) || !parse_ll(a[1], vk))
    return usage("hotkey-free <mods> <vk>");
  HotkeyRegistration reg(static_cast<UINT>(mods), static_cast<UINT>(vk));
  Line ln;
  if (reg.ok()) {
    ln.add(std::string("free")).emit();
    return 0;
  }
  ln.add(std::string("taken")).add(static_cast<long long>(reg.error())).emit();
  return 1;
}

// Wine 8's explorer draws notification icons into the tray window itself:
// they are not windows, and the tooltip window it makes per icon outlives
// the icon, so icons cannot be counted here; tray-has checks one icon.
// What is listed is the taskbar and its children (start and task buttons).
int cmd_tray() {
  HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!tray) {
    std::fprintf(stderr, "probe: no Shell_TrayWnd\n");
    return 1;
  }
  Line head;
  window_line(head, tray);
  head.emit();
  for (HWND c : child_windows(tray)) {
    Line ln;
    window_line(ln, c);
    ln.emit();
  }
  return 0;
}

// NIM_MODIFY with no flags changes nothing but fails for an unknown
// (hwnd, uid) pair, which tells whether that icon is registered.
// The record naming one icon, with nothing to change.
NOTIFYICONDATAW icon_record(HWND h, long long uid) {
  NOTIFYICONDATAW nid = {};
  nid.cbSize = sizeof nid;
  nid.hWnd = h;
  nid.uID = static_cast<UINT>(uid);
  nid.uFlags = 0;
  return nid;
}

int cmd_tray_has(const std::vector<std::wstring>& a) {
  HWND h;
  long long uid;
  if (a.size() != 2 || !parse_hwnd(a[0], h) || !parse_ll(a[1], uid))
    return usage("tray-has <hwnd> <uid>");
  NOTIFYICONDATAW nid = icon_record(h, uid);
  bool present = Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
  Line ln;
  ln.add(std::string(present ? "present" : "absent")).emit();
  return present ? 0 : 1;
}

int cmd_hold(const std::vector<std::wstring>& a) {
  if (a.size() != 1) return usage("hold <path>");
  HANDLE file = CreateFileW(a[0].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "probe: cannot open %s: %lu\n", utf8(a[0]).c_str(), GetLastError());
    return 1;
  }
  Line ln;
  ln.add(std::string("held")).emit();
  Sleep(INFINITE);
  CloseHandle(file);
  return 0;
}

int cmd_tray_del(const std::vector<std::wstring>& a) {
  HWND h;
  long long uid;
  if (a.size() != 2 || !parse_hwnd(a[0], h) || !parse_ll(a[1], uid))
    return usage("tray-del <hwnd> <uid>");
  NOTIFYICONDATAW nid = icon_record(h, uid);
  return Shell_NotifyIconW(NIM_DELETE, &nid) ? 0 : 1;
}

int cmd_screen() {
  Line ln;
  ln.add(static_cast<long long>(GetSystemMetrics(SM_CXSCREEN)))
      .add(static_cast<long long>(GetSystemMetrics(SM_CYSCREEN)))
      .emit();
  return 0;
}

// A kernel handle that reports failure as null, closed.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE h) : h_(h) {}
  ~KernelHandle() {
    if (h_) CloseHandle(h_);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

int cmd_child(const std::vector<std::wstring>& a) {
  HWND parent;
  long long id;
  if (a.size() != 2 || !parse_ll(a[1], id)) return usage("child <parent> <id>");
  if (!need_window(a[0], parent)) return 1;
  HWND child = GetDlgItem(parent, static_cast<int>(id));
  if (!child) return 1;
  Line ln;
  ln.hwnd(child).emit();
  return 0;
}

int cmd_settext(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 2) return usage("settext <hwnd> <text>");
  if (!need_window(a[0], h)) return 1;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[1].c_str()),
                           SMTO_ABORTIFHUNG, 5000, &result))
    return 1;
  return result ? 0 : 1;
}

int cmd_combo(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("combo <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD_PTR count = 0, selected = 0;
  if (!SendMessageTimeoutW(h, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count) ||
      !SendMessageTimeoutW(h, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 2000, &selected))
    return 2;
  Line head;
  head.add(static_cast<long long>(static_cast<LONG_PTR>(selected)))
      .add(static_cast<long long>(count))
      .emit();
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(h, CB_GETLBTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                        2000, &got);
    Line ln;
    ln.add(std::wstring(text.data())).emit();
  }
  return 0;
}

// A hook of probe_hook.dll (beside probe.exe) set on another program's
// thread; removed, and the DLL released, on every path.
struct ThreadHook {
  HMODULE hookDll = nullptr;
  HHOOK hook = nullptr;
  ThreadHook() = default;
  ThreadHook(const ThreadHook&) = delete;
  ThreadHook& operator=(const ThreadHook&) = delete;
  ~ThreadHook() {
    if (hook) UnhookWindowsHookEx(hook);
    if (hookDll) FreeLibrary(hookDll);
  }
  // Sets hook `kind` with the DLL's procedure `name` on the thread of `window`.
  bool set(int kind, const char* name, HWND window) {
    wchar_t self[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll = self;
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"probe_hook.dll";
    hookDll = LoadLibraryW(dll.c_str());
    if (!hookDll) {
      std::fprintf(stderr, "probe: cannot load %s\n", utf8(dll).c_str());
      return false;
    }
    // Through void*: the exported procedure has the hook signature, not FARPROC's.
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookDll, name)));
    hook = proc ? SetWindowsHookExW(kind, proc, hookDll, GetWindowThreadProcessId(window, nullptr))
                : nullptr;
    if (!hook) std::fprintf(stderr, "probe: SetWindowsHookEx failed: %lu\n", GetLastError());
    return hook != nullptr;
  }
};

// Closes what the menu read opened, on every path.
struct MenuRead {
  HANDLE mapping = nullptr;
  ThreadHook hook;
  ~MenuRead() {
    if (mapping) CloseHandle(mapping);
  }
};

HWND open_popup_menu() {
  for (HWND h : top_level_windows()) {
    if (IsWindowVisible(h) && class_of(h) == L"#32768") return h;
  }
  return nullptr;
}

int cmd_menu(const std::vector<std::wstring>& a) {
  long long timeout = 5000;
  if (a.size() > 1 || (a.size() == 1 && !parse_ll(a[0], timeout)))
    return usage("menu [timeout_ms]");
  HWND menu = nullptr;
  for (long long waited = 0; !(menu = open_popup_menu()) && waited < timeout; waited += 50)
    Sleep(50);
  if (!menu) {
    std::fprintf(stderr, "probe: no popup menu is open\n");
    return 1;
  }
  MenuRead read;
  read.mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    kProbeMenuBytes, kProbeMenuMapping);
  if (!read.mapping) {
    std::fprintf(stderr, "probe: cannot set up the menu read: %lu\n", GetLastError());
    return 2;
  }
  if (!read.hook.set(WH_CALLWNDPROC, kProbeHookProc, menu)) return 2;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(menu, RegisterWindowMessageW(kProbeMenuMessage), 0, 0, SMTO_ABORTIFHUNG, 5000,
                      &ignored);
  auto* items = static_cast<const wchar_t*>(MapViewOfFile(read.mapping, FILE_MAP_READ, 0, 0, 0));
  if (!items) return 2;
  std::wstring text(items, wcsnlen(items, kProbeMenuBytes / sizeof(wchar_t)));
  UnmapViewOfFile(items);
  if (text.rfind(L"ok\n", 0) != 0) {
    std::fprintf(stderr, "probe: the menu's process did not answer\n");
    return 2;
  }
  std::string out = utf8(text.substr(3));
  for (size_t at = 0; (at = out.find('\n', at)) != std::string::npos; at += 2) out.insert(at, "\r");
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

// Which program file a window belongs to: tells an installed copy from the
// one in the build tree, and shows how a non-ASCII folder name came through.
int cmd_exe_path(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("exe-path <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess(%lu) failed: %lu\n", pid, GetLastError());
    return 2;
  }
  // The longest path Windows has; a buffer this size never runs short.
  constexpr DWORD kMaxLongPath = 32768;
  std::wstring path(kMaxLongPath, L'\0');
  DWORD size = kMaxLongPath;
  if (!QueryFullProcessImageNameW(process.get(), 0, &path[0], &size)) {
    std::fprintf(stderr, "probe: QueryFullProcessImageName failed: %lu\n", GetLastError());
    return 2;
  }
  path.resize(size);
  Line ln;
  ln.add(path).emit();
  return 0;
}

// ---- the product's process from outside

int cmd_suspend_resume(const std::vector<std::wstring>& a, bool suspend) {
  HWND h;
  if (a.size() != 1) return usage("suspend|resume <hwnd>");
  if (!need_window(a[0], h)) return 1;
  const DWORD tid = GetWindowThreadProcessId(h, nullptr);
  KernelHandle thread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, tid));
  if (!thread.get()) {
    std::fprintf(stderr, "probe: OpenThread failed: %lu\n", GetLastError());
    return 2;
  }
  const DWORD before = suspend ? SuspendThread(thread.get()) : ResumeThread(thread.get());
  if (before == static_cast<DWORD>(-1)) {
    std::fprintf(stderr, "probe: Suspend/ResumeThread failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(static_cast<long long>(tid)).emit();
  return 0;
}

HANDLE open_process_of(HWND h, DWORD access) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  return pid ? OpenProcess(access, FALSE, pid) : nullptr;
}

int cmd_crash(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("crash <hwnd>");
  if (!need_window(a[0], h)) return 1;
  KernelHandle process(open_process_of(h, PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                              PROCESS_VM_OPERATION | PROCESS_VM_WRITE |
                                              PROCESS_VM_READ));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess failed: %lu\n", GetLastError());
    return 2;
  }
  // Execution at address 0 faults at once, in a thread of the target.
  KernelHandle thread(CreateRemoteThread(process.get(), nullptr, 0, nullptr, nullptr, 0, nullptr));
  if (!thread.get()) {
    std::fprintf(stderr, "probe: CreateRemoteThread failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(std::string("crashing")).emit();
  return 0;
}

int cmd_terminate(const std::vector<std::wstring>& a) {
  HWND h;
  long long code;
  if (a.size() != 2 || !parse_ll(a[1], code)) return usage("terminate <hwnd> <code>");
  if (!need_window(a[0], h)) return 1;
  KernelHandle process(open_process_of(h, PROCESS_TERMINATE));
  if (!process.get() || !TerminateProcess(process.get(), static_cast<UINT>(code))) {
    std::fprintf(stderr, "probe: TerminateProcess failed: %lu\n", GetLastError());
    return 2;
  }
  Line ln;
  ln.add(std::string("terminated")).emit();
  return 0;
}

// Handles the process holds, from the system's table of all handles. Wine
// answers GetProcessHandleCount with 0 but does keep this table.
long long handles_in_system_table(DWORD pid) {
  using QueryFn = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  struct Entry {
    ULONG owner_pid;
    BYTE object_type;
    BYTE flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  constexpr size_t kFirstSize = 1 << 16, kLargestSize = 1 << 26;
  for (size_t size = kFirstSize; size <= kLargestSize; size *= 2) {
    std::vector<unsigned char> buffer(size);
    ULONG needed = 0;
    const LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(size), &needed);
    if (status == kInfoLengthMismatch) continue;
    if (status < 0) return -1;
    const Table* table = reinterpret_cast<const Table*>(buffer.data());
    const size_t fit = (size - offsetof(Table, entries)) / sizeof(Entry);
    long long count = 0;
    for (size_t i = 0; i < table->count && i < fit; ++i) {
      if (table->entries[i].owner_pid == pid) ++count;
    }
    return count;
  }
  return -1;
}

// GDI objects in use in the process's GDI handle table, which the PEB points
// to (Windows and Wine alike); stock objects are not counted. -1 when the
// table cannot be read. Each entry: object (8 bytes), owner (4), unique (2,
// the stock flag in bit 7), type (1, 0 when free), flags (1), user data (8).
long long gdi_in_shared_table(HANDLE process) {
  using QueryFn = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query) return -1;
  struct BasicInformation {
    LONG_PTR exit_status;
    void* peb;
    ULONG_PTR affinity;
    LONG_PTR priority;
    ULONG_PTR pid;
    ULONG_PTR parent_pid;
  } basic = {};
  constexpr ULONG kProcessBasicInformation = 0;
  if (query(process, kProcessBasicInformation, &basic, sizeof basic, nullptr) < 0 || !basic.peb)
    return -1;
#ifdef _WIN64
  constexpr size_t kPebGdiTable = 0xF8;
#else
  constexpr size_t kPebGdiTable = 0x94;
#endif
  void* table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, static_cast<const char*>(basic.peb) + kPebGdiTable, &table,
                         sizeof table, &got) ||
      !table)
    return -1;
#pragma pack(push, 1)
  struct Entry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    unsigned long long user;
  };
#pragma pack(pop)
  static_assert(sizeof(Entry) == 24, "GDI handle table entry");
  constexpr size_t kEntries = 0x10000;
  constexpr USHORT kStockFlag = 0x80;
  std::vector<Entry> entries(kEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), &got))
    return -1;
  long long count = 0;
  for (const Entry& e : entries) {
    if (e.type != 0 && (e.unique & kStockFlag) == 0) ++count;
  }
  return count;
}

BOOL CALLBACK count_window_of(HWND h, LPARAM lp) {
  auto* count = reinterpret_cast<std::pair<DWORD, long long>*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == count->first) ++count->second;
  return TRUE;
}

// Windows (top-level and child) that the process owns: the part of its USER
// objects that can be counted from outside where GetGuiResources cannot.
long long windows_of(DWORD pid) {
  std::pair<DWORD, long long> count(pid, 0);
  for (HWND top : top_level_windows()) {
    count_window_of(top, reinterpret_cast<LPARAM>(&count));
    EnumChildWindows(top, count_window_of, reinterpret_cast<LPARAM>(&count));
  }
  return count.second;
}

// Committed private memory in the process's address space, region by region:
// what Windows counts as private bytes. Under Wine it leaves out what the
// Unix side of the process allocates, which the system's answer includes.
long long committed_private(HANDLE process) {
  long long total = 0;
  const char* at = nullptr;
  MEMORY_BASIC_INFORMATION region;
  while (VirtualQueryEx(process, at, &region, sizeof region) == sizeof region) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      total += static_cast<long long>(region.RegionSize);
    }
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

int cmd_usage(const std::vector<std::wstring>& a) {
  HWND h;
  if (a.size() != 1) return usage("usage <hwnd>");
  if (!need_window(a[0], h)) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process.get()) {
    std::fprintf(stderr, "probe: OpenProcess failed: %lu\n", GetLastError());
    return 2;
  }
  DWORD handles = 0;
  if (!GetProcessHandleCount(process.get(), &handles)) handles = 0;
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof memory)) {
    std::fprintf(stderr, "probe: GetProcessMemoryInfo failed: %lu\n", GetLastError());
  }
  // Windows reports the commit charge in both; Wine fills only the older one
  // for another process.
  const SIZE_T private_bytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  Line ln;
  ln.add(static_cast<long long>(GetGuiResources(process.get(), GR_GDIOBJECTS)))
      .add(static_cast<long long>(GetGuiResources(process.get(), GR_USEROBJECTS)))
      .add(static_cast<long long>(handles))
      .add(static_cast<long long>(private_bytes))
      .add(gdi_in_shared_table(process.get()))
      .add(handles_in_system_table(pid))
      .add(windows_of(pid))
      .add(committed_private(process.get()))
      .emit();
  return 0;
}

struct Condition {
  enum Kind { kVisible, kLeft, kKeyDown } kind;
  HWND window;  // kVisible, kLeft
  int key;      // kKeyDown: a virtual key, 1 for the left button
  long long value;
  std::wstring text;  // as given, for the report of a timeout
};

// <hwnd>:visible=0|1, <hwnd>:left=N or key:<vk>=0|1.
bool parse_condition(const std::wstring& s, Condition& c) {
  const size_t colon = s.find(L':');
  const size_t equals = s.find(L'=');
  if (colon == std::wstring::npos || equals == std::wstring::npos || equals < colon) return false;
  const std::wstring subject = s.substr(0, colon);
  const std::wstring what = s.substr(colon + 1, equals - colon - 1);
  if (!parse_ll(s.substr(equals + 1), c.value)) return false;
  c.window = nullptr;
  c.key = 0;
  c.text = s;
  if (subject == L"key") {
    long long key;
    if (!parse_ll(what, key)) return false;
    c.kind = Condition::kKeyDown;
    c.key = static_cast<int>(key);
    return true;
  }
  if (!parse_hwnd(subject, c.window)) return false;
  if (what == L"visible") {
    c.kind = Condition::kVisible;
  } else if (what == L"left") {
    c.kind = Condition::kLeft;
  } else {
    return false;
  }
  return true;
}

constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

bool IsKeyDown(int key) { return (GetAsyncKeyState(key) & kKeyDownBit) != 0; }

bool holds(const Condition& c) {
  RECT r = {0, 0, 0, 0};
  switch (c.kind) {
    case Condition::kVisible:
      return (IsWindowVisible(c.window) ? 1 : 0) == c.value;
    case Condition::kLeft:
      return GetWindowRect(c.window, &r) && r.left == c.value;
    case Condition::kKeyDown:
      return (IsKeyDown(c.key) ? 1 : 0) == c.value;
  }
  return false;
}

constexpr DWORD kPollMs = 5;

// "<ms> <item>...": the milliseconds, then every further argument parsed.
template <class Item, class Parse>
bool parse_ms_and_items(const std::vector<std::wstring>& a, Parse parse, long long& ms,
                        std::vector<Item>& items) {
  if (a.size() < 2 || !parse_ll(a[0], ms)) return false;
  for (size_t i = 1; i < a.size(); ++i) {
    Item item;
    if (!parse(a[i], item)) return false;
    items.push_back(item);
  }
  return true;
}

int cmd_wait(const std::vector<std::wstring>& a) {
  long long timeout;
  std::vector<Condition> conditions;
  if (!parse_ms_and_items(a, parse_condition, timeout, conditions))
    return usage("wait <ms> <hwnd>:visible=0|1|left=N|key:<vk>=0|1 ...");
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout);
  for (;;) {
    bool all = true;
    for (const Condition& c : conditions) all = all && holds(c);
    if (all) return 0;
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollMs);
  }
  // Every condition, as asked and as found, so a timeout can be told apart
  // from one that came true at the last moment.
  for (const Condition& c : conditions) {
    Line ln;
    ln.add(std::string(holds(c) ? "met:" : "not met:")).add(c.text);
    if (c.kind == Condition::kKeyDown) {
      ln.add(std::string("key")).add(static_cast<long long>(c.key)).emit();
      continue;
    }
    RECT r = {0, 0, 0, 0};
    GetWindowRect(c.window, &r);
    ln.hwnd(c.window)
        .add(std::string("visible"))
        .add(static_cast<long long>(IsWindowVisible(c.window) ? 1 : 0))
        .add(std::string("left"))
        .add(static_cast<long long>(r.left))
        .emit();
  }
  return 1;
}

int cmd_watch(const std::vector<std::wstring>& a) {
  long long duration;
  std::vector<HWND> windows;
  if (!parse_ms_and_items(a, parse_hwnd, duration, windows)) return usage("watch <ms> <hwnd>...");
  std::vector<std::string> seen(windows.size());
  std::vector<int> last(windows.size(), -1);
  Line start;
  start.add(std::string("watching")).emit();
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(duration);
  // No sleep between looks: a session can show the cube for a few
  // milliseconds only.
  do {
    for (size_t i = 0; i < windows.size(); ++i) {
      const int now = IsWindowVisible(windows[i]) ? 1 : 0;
      if (now == last[i]) continue;
      if (!seen[i].empty()) seen[i] += ' ';
      seen[i] += static_cast<char>('0' + now);
      last[i] = now;
    }
  } while (GetTickCount64() < deadline);
  for (size_t i = 0; i < windows.size(); ++i) {
    Line ln;
    ln.hwnd(windows[i]).add(seen[i]).emit();
  }
  return 0;
}

constexpr ULONGLONG kMouseMoveTimeoutMs = 10000;
constexpr LONG kAbsoluteRange = 65535;

int cmd_mouse_move(const std::vector<std::wstring>& a) {
  long long x, y;
  if (a.size() != 2 || !parse_ll(a[0], x) || !parse_ll(a[1], y)) return usage("mouse-move <x> <y>");
  const LONG w = GetSystemMetrics(SM_CXSCREEN), hgt = GetSystemMetrics(SM_CYSCREEN);
  if (w < 2 || hgt < 2) return usage("no screen");
  INPUT input = {};
  input.type = INPUT_MOUSE;
  // Absolute coordinates run from 0 to 65535 across the primary screen.
  input.mi.dx = static_cast<LONG>((x * kAbsoluteRange + (w - 1) / 2) / (w - 1));
  input.mi.dy = static_cast<LONG>((y * kAbsoluteRange + (hgt - 1) / 2) / (hgt - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  const ULONGLONG start = GetTickCount64();
  SendInput(1, &input, sizeof input);
  for (;;) {
    POINT at = {0, 0};
    GetCursorPos(&at);
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (at.x == x && at.y == y) {
      Line ln;
      ln.add(static_cast<long long>(elapsed)).emit();
      return 0;
    }
    if (elapsed >= kMouseMoveTimeoutMs) {
      std::fprintf(stderr, "probe: cursor at %ld,%ld after %llu ms\n", at.x, at.y, elapsed);
      return 1;
    }
    Sleep(1);
  }
}

// `probe trace`: what became of each arrow key press and each left press.
// Raw input shows a key or button where the system takes it in, without
// holding it up as a low-level hook would (the mouse hook library reads the
// keys' state as it sees a press); the hook in the program's thread reports
// each hotkey message the program takes from its queue.
struct TraceState {
  bool ctrl = false;
  bool alt = false;
};
TraceState g_trace;

const char* arrow_name(USHORT vk) {
  return vk == VK_LEFT ? "Left" : vk == VK_RIGHT ? "Right" : nullptr;
}

void trace_line(const char* what, const char* detail, bool down) {
  Line ln;
  ln.add(std::string(what));
  if (detail) ln.add(std::string(detail));
  ln.add(std::string(down ? "down" : "up"))
      .add(std::string(g_trace.ctrl ? "ctrl" : "-"))
      .add(std::string(g_trace.alt ? "alt" : "-"))
      .add(static_cast<long long>(GetTickCount()))
      .emit();
}

void trace_raw_input(HRAWINPUT handle) {
  RAWINPUT input;
  UINT size = sizeof input;
  if (GetRawInputData(handle, RID_INPUT, &input, &size, sizeof(RAWINPUTHEADER)) == UINT(-1)) return;
  if (input.header.dwType == RIM_TYPEKEYBOARD) {
    const RAWKEYBOARD& key = input.data.keyboard;
    const bool down = (key.Flags & RI_KEY_BREAK) == 0;
    if (key.VKey == VK_CONTROL) g_trace.ctrl = down;
    if (key.VKey == VK_MENU) g_trace.alt = down;
    if (const char* name = arrow_name(key.VKey)) trace_line("key", name, down);
  } else if (input.header.dwType == RIM_TYPEMOUSE) {
    const USHORT buttons = input.data.mouse.usButtonFlags;
    if (buttons & RI_MOUSE_LEFT_BUTTON_DOWN) trace_line("press", nullptr, true);
  }
}

LRESULT CALLBACK trace_window(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeTraceHotkey) {
    Line ln;
    ln.add(std::string("hotkey"))
        .add(static_cast<long long>(wParam))
        .add(static_cast<long long>(GetTickCount()))
        .emit();
    return 0;
  }
  if (message == WM_INPUT) trace_raw_input(reinterpret_cast<HRAWINPUT>(lParam));
  return DefWindowProcW(h, message, wParam, lParam);
}

constexpr USHORT kGenericDesktop = 1;
constexpr USHORT kMouseUsage = 2;
constexpr USHORT kKeyboardUsage = 6;

int cmd_trace(const std::vector<std::wstring>& a) {
  HWND target;
  if (a.size() != 1) return usage("trace <hwnd>");
  if (!need_window(a[0], target)) return 1;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = trace_window;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kProbeTraceClass;
  RegisterClassW(&wc);
  // Never shown, so no program takes it for a window of the desktop.
  const HWND trace = CreateWindowExW(0, kProbeTraceClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                     nullptr, wc.hInstance, nullptr);
  if (!trace) {
    std::fprintf(stderr, "probe: cannot make the trace window: %lu\n", GetLastError());
    return 2;
  }
  ThreadHook messages;
  if (!messages.set(WH_GETMESSAGE, kProbeGetMessageProc, target)) return 2;
  // Input sink: raw input arrives whichever window has the focus.
  const RAWINPUTDEVICE devices[] = {{kGenericDesktop, kKeyboardUsage, RIDEV_INPUTSINK, trace},
                                    {kGenericDesktop, kMouseUsage, RIDEV_INPUTSINK, trace}};
  if (!RegisterRawInputDevices(devices, 2, sizeof devices[0])) {
    std::fprintf(stderr, "probe: raw input failed: %lu\n", GetLastError());
    return 2;
  }
  Line ready;
  ready.add(std::string("tracing")).emit();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

int cmd_hotkey_hold(const std::vector<std::wstring>& a) {
  if (a.empty() || a.size() % 2 != 0) return usage("hotkey-hold <mods> <vk> [<mods> <vk>...]");
  constexpr int kFirstId = 0x7f00;
  for (size_t i = 0; i < a.size(); i += 2) {
    long long mods, vk;
    if (!parse_ll(a[i], mods) || !parse_ll(a[i + 1], vk)) return usage("bad <mods> <vk>");
    if (!RegisterHotKey(nullptr, kFirstId + static_cast<int>(i / 2), static_cast<UINT>(mods),
                        static_cast<UINT>(vk))) {
      std::fprintf(stderr, "probe: hotkey %lld %lld is taken: %lu\n", mods, vk, GetLastError());
      return 1;
    }
  }
  Line ln;
  ln.add(std::string("held")).emit();
  // The presses arrive here as thread messages and go no further.
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
  }
  return 0;
}

// Frees the argv block from CommandLineToArgvW.
struct ArgvBlock {
  explicit ArgvBlock(LPWSTR* p) : argv(p) {}
  ~ArgvBlock() {
    if (argv) LocalFree(argv);
  }
  ArgvBlock(const ArgvBlock&) = delete;
  ArgvBlock& operator=(const ArgvBlock&) = delete;
  LPWSTR* argv;
};

}  // namespace

int main() {
  int argc = 0;
  ArgvBlock block(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!block.argv || argc < 2) return usage("missing command");
  std::wstring cmd = block.argv[1];
  std::vector<std::wstring> a(block.argv + 2, block.argv + argc);

  if (cmd == L"list") return cmd_list();
  if (cmd == L"find") return cmd_find(a);
  if (cmd == L"rect") return cmd_rect(a);
  if (cmd == L"post") return cmd_post_send(a, false);
  if (cmd == L"send") return cmd_post_send(a, true);
  if (cmd == L"activate") return cmd_activate(a);
  if (cmd == L"foreground") return cmd_foreground();
  if (cmd == L"text") return cmd_text(a);
  if (cmd == L"move") return cmd_move(a);
  if (cmd == L"window") return cmd_window(a);
  if (cmd == L"hotkey-free") return cmd_hotkey_free(a);
  if (cmd == L"tray") return cmd_tray();
  if (cmd == L"tray-has") return cmd_tray_has(a);
  if (cmd == L"screen") return cmd_screen();
  if (cmd == L"child") return cmd_child(a);
  if (cmd == L"tray-del") return cmd_tray_del(a);
  if (cmd == L"hold") return cmd_hold(a);
  if (cmd == L"settext") return cmd_settext(a);
  if (cmd == L"combo") return cmd_combo(a);
  if (cmd == L"menu") return cmd_menu(a);
  if (cmd == L"exe-path") return cmd_exe_path(a);
  if (cmd == L"suspend") return cmd_suspend_resume(a, true);
  if (cmd == L"resume") return cmd_suspend_resume(a, false);
  if (cmd == L"crash") return cmd_crash(a);
  if (cmd == L"terminate") return cmd_terminate(a);
  if (cmd == L"usage") return cmd_usage(a);
  if (cmd == L"wait") return cmd_wait(a);
  if (cmd == L"watch") return cmd_watch(a);
  if (cmd == L"mouse-move") return cmd_mouse_move(a);
  if (cmd == L"trace") return cmd_trace(a);
  if (cmd == L"hotkey-hold") return cmd_hotkey_hold(a);
  if (cmd == L"pid") {
    Line ln;
    ln.add(static_cast<long long>(GetCurrentProcessId())).emit();
    return 0;
  }
  return usage("unknown command");
}
