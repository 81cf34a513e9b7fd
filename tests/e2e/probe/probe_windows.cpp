// probe: the desktop's windows and screens: listing, finding, messaging,
// moving, and a window of its own.

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

#include "probe_common.h"

namespace probe {

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

// ---------------------------------------------------------------- commands

int cmd_list(const Args&) {
  for (HWND h : top_level_windows()) {
    Line ln;
    window_line(ln, h);
    ln.emit();
  }
  return 0;
}

int cmd_find(const Args& a) {
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

int cmd_rect(const Args& a) {
  HWND h;
  if (a.size() != 1) return usage("rect <hwnd>");
  if (!need_window(a[0], h)) return 1;
  print_rect(h);
  return 0;
}

int cmd_post_send(const Args& a, bool send) {
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

int cmd_post(const Args& a) { return cmd_post_send(a, false); }
int cmd_send(const Args& a) { return cmd_post_send(a, true); }

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

int cmd_activate(const Args& a) {
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

int cmd_foreground(const Args&) {
  HWND h = GetForegroundWindow();
  Line ln;
  ln.hwnd(h).add(h ? class_of(h) : std::wstring()).add(h ? title_of(h) : std::wstring()).emit();
  return 0;
}

int cmd_text(const Args& a) {
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

int cmd_move(const Args& a) {
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

int cmd_window(const Args& a) {
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

int cmd_screen(const Args&) {
  Line ln;
  ln.add(static_cast<long long>(GetSystemMetrics(SM_CXSCREEN)))
      .add(static_cast<long long>(GetSystemMetrics(SM_CYSCREEN)))
      .emit();
  return 0;
}

BOOL CALLBACK monitor_line(HMONITOR monitor, HDC, LPRECT, LPARAM primaryPass) {
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  if (((info.dwFlags & MONITORINFOF_PRIMARY) != 0) != (primaryPass != 0)) return TRUE;
  Line ln;
  ln.add(std::string("monitor"))
      .add(static_cast<long long>(info.rcMonitor.left))
      .add(static_cast<long long>(info.rcMonitor.top))
      .add(static_cast<long long>(info.rcMonitor.right))
      .add(static_cast<long long>(info.rcMonitor.bottom))
      .emit();
  return TRUE;
}

int cmd_monitors(const Args&) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  Line ln;
  ln.add(std::string("virtual"))
      .add(static_cast<long long>(left))
      .add(static_cast<long long>(top))
      .add(static_cast<long long>(left + GetSystemMetrics(SM_CXVIRTUALSCREEN)))
      .add(static_cast<long long>(top + GetSystemMetrics(SM_CYVIRTUALSCREEN)))
      .emit();
  EnumDisplayMonitors(nullptr, nullptr, monitor_line, 1);
  EnumDisplayMonitors(nullptr, nullptr, monitor_line, 0);
  return 0;
}

int cmd_display_mode(const Args& a) {
  long long n, w, h;
  if (a.size() != 3 || !parse_ll(a[0], n) || !parse_ll(a[1], w) || !parse_ll(a[2], h))
    return usage("display-mode <n> <w> <h>");
  const std::wstring device = L"\\\\.\\DISPLAY" + std::to_wstring(n);
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(w);
  mode.dmPelsHeight = static_cast<DWORD>(h);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = ChangeDisplaySettingsExW(device.c_str(), &mode, nullptr, 0, nullptr);
  Line ln;
  ln.add(static_cast<long long>(result)).emit();
  return result == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}

}  // namespace probe
