#include "platform/win32/shell.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <iterator>

#include "hook/librombo.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {
// How long the balloon stays, where the system still asks (before Vista).
constexpr UINT kBalloonTimeoutMs = 15000;
// The shell reads no further than the size the record gives (Wine reads
// the balloon fields whatever it says, so only this shows a short one).
static_assert(kBalloonRecordSize >= offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD));

static_assert(LIBROMBO_SIGNAL_MESSAGE == kSignalWrittenMessage,
              "the library tells the window of its signal file by this message");

// The window told of foreground changes; one watch at a time.
HWND g_foregroundWatcher = nullptr;

// Runs on the thread that set the watch, as it takes its messages; the
// change is handled as a message of its own, in the window's usual order.
void CALLBACK ForegroundChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  if (g_foregroundWatcher != nullptr) {
    PostMessageA(g_foregroundWatcher, kForegroundChangedMessage, 0, 0);
  }
}
}  // namespace

bool Win32Shell::AddTrayIcon(WindowHandle owner) {
  std::memset(&trayIconData_, 0, sizeof(trayIconData_));
  trayIconData_.cbSize = kTrayRecordSize;
  trayIconData_.hWnd = ToHwnd(owner);
  trayIconData_.uID = kTrayIconId;
  trayIconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIconData_.uCallbackMessage = kTrayCallbackMessage;
  trayIconData_.hIcon = icon_;
  std::strncpy(trayIconData_.szTip, kTrayTip, sizeof(trayIconData_.szTip) - 1);
  if (Shell_NotifyIconA(NIM_ADD, &trayIconData_)) return true;
  // A taskbar that came up between two tries may hold the icon already and
  // refuses to add it twice; changing it tells whether it is there.
  return Shell_NotifyIconA(NIM_MODIFY, &trayIconData_) != FALSE;
}

void Win32Shell::RemoveTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &trayIconData_); }

bool Win32Shell::ShowTrayBalloon(const std::string& text) {
  NOTIFYICONDATAW balloon;
  std::memset(&balloon, 0, sizeof(balloon));
  balloon.cbSize = kBalloonRecordSize;
  balloon.hWnd = trayIconData_.hWnd;
  balloon.uID = kTrayIconId;
  balloon.uFlags = NIF_INFO;
  const std::wstring wide = Widen(text, kCaptionCodePage);
  wide.copy(balloon.szInfo, std::size(balloon.szInfo) - 1);
  std::wcsncpy(balloon.szInfoTitle, kBalloonTitle, std::size(balloon.szInfoTitle) - 1);
  balloon.uTimeout = kBalloonTimeoutMs;
  balloon.dwInfoFlags = NIIF_WARNING;
  return Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

bool Win32Shell::RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) {
  return ::RegisterHotKey(ToHwnd(owner), id, modifiers, virtualKey) != FALSE;
}

void Win32Shell::UnregisterHotKey(WindowHandle owner, int id) {
  ::UnregisterHotKey(ToHwnd(owner), id);
}

void Win32Shell::InstallMouseHook(WindowHandle owner) { ::InstallMouseHook(ToHwnd(owner)); }

void Win32Shell::UninstallMouseHook() { ::UninstallMouseHook(); }

void Win32Shell::WatchForeground(WindowHandle owner) {
  StopWatchingForeground();
  g_foregroundWatcher = ToHwnd(owner);
  // Out of context: the system queues the event for this thread, so no code
  // of the program runs in other processes and nothing waits on them.
  foregroundHook_ =
      SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &ForegroundChanged,
                      0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

void Win32Shell::StopWatchingForeground() {
  if (foregroundHook_ != nullptr) UnhookWinEvent(foregroundHook_);
  foregroundHook_ = nullptr;
  g_foregroundWatcher = nullptr;
}

}  // namespace platform::win32
