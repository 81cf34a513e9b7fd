// probe: hotkeys, keys and the mouse as input; waiting for and watching what they do.

#include <windows.h>

#include <cstdio>

#include "probe_common.h"
#include "probe_hook.h"

namespace probe {

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

int cmd_hotkey_free(const Args& a) {
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

int cmd_keys(const Args& a) {
  if (a.size() != 1 || (a[0] != L"Left" && a[0] != L"Right")) return usage("keys <Left|Right>");
  const WORD arrow = a[0] == L"Left" ? VK_LEFT : VK_RIGHT;
  // A plain framed window: Wine gives the X focus to no popup or tool window.
  const HWND own = CreateWindowExW(0, L"STATIC", L"probe keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                   0, 160, 60, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(own);
  const WORD keys[] = {VK_CONTROL, VK_MENU, arrow};
  INPUT input[6] = {};
  for (int i = 0; i < 3; ++i) {
    input[i].type = input[5 - i].type = INPUT_KEYBOARD;
    input[i].ki.wVk = input[5 - i].ki.wVk = keys[i];
    input[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
  input[3].ki.dwFlags |= KEYEVENTF_KEYUP;
  const UINT sent = SendInput(6, input, sizeof(INPUT));
  // Let the keys be taken in while the window is still in front.
  for (int i = 0; i < 10; ++i) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
  DestroyWindow(own);
  Line ln;
  ln.add(static_cast<long long>(sent)).emit();
  return sent == 6 ? 0 : 1;
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
bool parse_ms_and_items(const Args& a, Parse parse, long long& ms, std::vector<Item>& items) {
  if (a.size() < 2 || !parse_ll(a[0], ms)) return false;
  for (size_t i = 1; i < a.size(); ++i) {
    Item item;
    if (!parse(a[i], item)) return false;
    items.push_back(item);
  }
  return true;
}

int cmd_wait(const Args& a) {
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

int cmd_watch(const Args& a) {
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

int cmd_mouse_move(const Args& a) {
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

int cmd_trace(const Args& a) {
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

int cmd_hotkey_hold(const Args& a) {
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

}  // namespace probe
