#include "platform/win32/shell.h"

#include <cstring>

#include "hook/librombo.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

void Win32Shell::AddTrayIcon(WindowHandle owner) {
  std::memset(&trayIconData_, 0, sizeof(trayIconData_));
  trayIconData_.cbSize = kTrayRecordSize;
  trayIconData_.hWnd = ToHwnd(owner);
  trayIconData_.uID = kTrayIconId;
  trayIconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIconData_.uCallbackMessage = kTrayCallbackMessage;
  trayIconData_.hIcon = icon_;
  std::strncpy(trayIconData_.szTip, kTrayTip, sizeof(trayIconData_.szTip) - 1);
  Shell_NotifyIconA(NIM_ADD, &trayIconData_);
}

void Win32Shell::RemoveTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &trayIconData_); }

bool Win32Shell::RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) {
  return ::RegisterHotKey(ToHwnd(owner), id, modifiers, virtualKey) != FALSE;
}

void Win32Shell::UnregisterHotKey(WindowHandle owner, int id) {
  ::UnregisterHotKey(ToHwnd(owner), id);
}

void Win32Shell::InstallMouseHook(WindowHandle owner) { ::InstallMouseHook(ToHwnd(owner)); }

void Win32Shell::UninstallMouseHook() { ::UninstallMouseHook(); }

}  // namespace platform::win32
