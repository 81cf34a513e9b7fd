#include "platform/win32/shell.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

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

// What says that another window has become the foreground window.
constexpr DWORD kForegroundEvents[] = {EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_FOCUS};
// Wine reports neither a new foreground window nor, when a window is
// activated again, its focus; there the foreground is looked at this often.
constexpr UINT kForegroundLookMs = 1000;
constexpr UINT_PTR kForegroundLookTimerId = 2;

// The window told of foreground changes, and the foreground window it was
// last told of; one watch at a time.
HWND g_foregroundWatcher = nullptr;
HWND g_lastForeground = nullptr;

// Runs on the thread that set the watch, as it takes its messages; the
// change is handled as a message of its own, in the window's usual order.
void CALLBACK ForegroundChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  g_lastForeground = GetForegroundWindow();
  if (g_foregroundWatcher != nullptr) {
    PostMessageA(g_foregroundWatcher, kForegroundChangedMessage, 0, 0);
  }
}

void CALLBACK LookAtForeground(HWND, UINT, UINT_PTR, DWORD) {
  if (GetForegroundWindow() != g_lastForeground) ForegroundChanged(nullptr, 0, nullptr, 0, 0, 0, 0);
}

bool SystemReportsForeground() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
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
  for (std::size_t i = 0; i < std::size(kForegroundEvents); ++i) {
    foregroundHooks_[i] =
        SetWinEventHook(kForegroundEvents[i], kForegroundEvents[i], nullptr, &ForegroundChanged, 0,
                        0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  }
  if (!SystemReportsForeground()) {
    SetTimer(g_foregroundWatcher, kForegroundLookTimerId, kForegroundLookMs, &LookAtForeground);
  }
}

void Win32Shell::WatchSignalFile(WindowHandle owner, const std::string& path) {
  signalWatch_.Start(ToHwnd(owner), kSignalWrittenMessage, path);
}

void Win32Shell::StopWatchingSignalFile() { signalWatch_.Stop(); }

void Win32Shell::StopWatchingForeground() {
  for (HWINEVENTHOOK& hook : foregroundHooks_) {
    if (hook != nullptr) UnhookWinEvent(hook);
    hook = nullptr;
  }
  if (g_foregroundWatcher != nullptr) KillTimer(g_foregroundWatcher, kForegroundLookTimerId);
  g_foregroundWatcher = nullptr;
}

namespace {
// The integrity level of a process's token (its label's last RID), or -1
// when it cannot be read.
long IntegrityLevel(HANDLE process) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return -1;
  const KernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0) return -1;
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return -1;
  const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  const UCHAR count = *GetSidSubAuthorityCount(sid);
  return count == 0 ? -1 : static_cast<long>(*GetSidSubAuthority(sid, count - 1U));
}
}  // namespace

bool Win32Shell::RunsElevated() {
  // Higher than the shell's: then the system filters what the shell sends
  // up to this program. The same (an administrator without split rights,
  // and under Wine, whose token is always the full one) filters nothing.
  DWORD shellId = 0;
  const HWND shell = GetShellWindow();
  if (shell == nullptr || GetWindowThreadProcessId(shell, &shellId) == 0) return false;
  const KernelHandle shellProcess(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId));
  if (!shellProcess.valid()) return false;
  const long shellLevel = IntegrityLevel(shellProcess.get());
  return shellLevel >= 0 && IntegrityLevel(GetCurrentProcess()) > shellLevel;
}

}  // namespace platform::win32
