// probe: the taskbar, notification icons and popup menus.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "probe_common.h"
#include "probe_hook.h"

namespace probe {

// Wine 8's explorer draws notification icons into the tray window itself:
// they are not windows, and the tooltip window it makes per icon outlives
// the icon, so icons cannot be counted here; tray-has checks one icon.
// What is listed is the taskbar and its children (start and task buttons).
int cmd_tray(const Args&) {
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

int cmd_tray_has(const Args& a) {
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

int cmd_tray_del(const Args& a) {
  HWND h;
  long long uid;
  if (a.size() != 2 || !parse_hwnd(a[0], h) || !parse_ll(a[1], uid))
    return usage("tray-del <hwnd> <uid>");
  NOTIFYICONDATAW nid = icon_record(h, uid);
  return Shell_NotifyIconW(NIM_DELETE, &nid) ? 0 : 1;
}

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

int cmd_menu(const Args& a) {
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

}  // namespace probe
