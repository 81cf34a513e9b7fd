#include <windows.h>

#include "platform/win32/window_manager.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
// DWMWA_CLOAKED: nonzero while the compositor keeps the window off screen.
constexpr DWORD kDwmCloaked = 14;
// Longest window class name the system keeps.
constexpr int kClassNameLength = 256;

// A window's placement keeps its restore rectangle in workspace coordinates,
// from the corner of its monitor's work area, unless it is a tool window.
POINT WorkspaceOrigin(HWND window) {
  if ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) return POINT{0, 0};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return POINT{0, 0};
  }
  return POINT{monitor.rcWork.left, monitor.rcWork.top};
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
  const auto& visit = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(context);
  return visit(FromHwnd(window)) ? TRUE : FALSE;
}
}  // namespace

Win32WindowManager::Win32WindowManager()
    // Loaded at run time: a system without a compositor has no such library,
    // and nothing there is cloaked.
    : dwm_(LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  if (dwm_.get() != nullptr) {
    // Through void*: the entry point has its own signature, not FARPROC's.
    getWindowAttribute_ = reinterpret_cast<GetWindowAttribute>(
        reinterpret_cast<void*>(GetProcAddress(dwm_.get(), "DwmGetWindowAttribute")));
  }
}

WindowHandle Win32WindowManager::FindByClass(const std::string& className) {
  return FromHwnd(FindWindowA(className.c_str(), nullptr));
}

void Win32WindowManager::EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) {
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

bool Win32WindowManager::IsVisible(WindowHandle window) {
  return IsWindowVisible(ToHwnd(window)) != FALSE;
}

std::uint32_t Win32WindowManager::ExtendedStyle(WindowHandle window) {
  return static_cast<std::uint32_t>(GetWindowLongA(ToHwnd(window), GWL_EXSTYLE));
}

bool Win32WindowManager::GetRect(WindowHandle window, Rect* rect) {
  RECT r;
  if (!GetWindowRect(ToHwnd(window), &r)) return false;
  *rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32WindowManager::IsMinimised(WindowHandle window) {
  return IsIconic(ToHwnd(window)) != FALSE;
}

bool Win32WindowManager::IsOfClass(WindowHandle window, const std::string& className) {
  char name[kClassNameLength];
  return GetClassNameA(ToHwnd(window), name, kClassNameLength) > 0 &&
         lstrcmpiA(name, className.c_str()) == 0;
}

bool Win32WindowManager::HasChildOfClass(WindowHandle window, const std::string& className) {
  return FindWindowExA(ToHwnd(window), nullptr, className.c_str(), nullptr) != nullptr;
}

bool Win32WindowManager::IsCloaked(WindowHandle window) {
  if (getWindowAttribute_ == nullptr) return false;
  DWORD cloaked = 0;
  return SUCCEEDED(getWindowAttribute_(ToHwnd(window), kDwmCloaked, &cloaked, sizeof cloaked)) &&
         cloaked != 0;
}

bool Win32WindowManager::Move(WindowHandle window, std::int32_t x, std::int32_t y,
                              std::uint32_t flags) {
  return SetWindowPos(ToHwnd(window), nullptr, x, y, 0, 0, flags) != FALSE;
}

bool Win32WindowManager::GetRestoreRect(WindowHandle window, Rect* rect) {
  const HWND hwnd = ToHwnd(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(hwnd, &placement)) return false;
  const POINT origin = WorkspaceOrigin(hwnd);
  const RECT& normal = placement.rcNormalPosition;
  *rect = Rect{normal.left + origin.x, normal.top + origin.y, normal.right + origin.x,
               normal.bottom + origin.y};
  return true;
}

bool Win32WindowManager::MoveRestoreRect(WindowHandle window, std::int32_t x, std::int32_t y) {
  const HWND hwnd = ToHwnd(window);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(hwnd, &placement)) return false;
  const POINT origin = WorkspaceOrigin(hwnd);
  OffsetRect(&placement.rcNormalPosition, x - (placement.rcNormalPosition.left + origin.x),
             y - (placement.rcNormalPosition.top + origin.y));
  // Posted to the window's thread like the moves, and shown as it is:
  // minimised, not activated.
  placement.flags = WPF_ASYNCWINDOWPLACEMENT | (placement.flags & WPF_RESTORETOMAXIMIZED);
  placement.showCmd = SW_SHOWMINNOACTIVE;
  return SetWindowPlacement(hwnd, &placement) != FALSE;
}

WindowHandle Win32WindowManager::Owner(WindowHandle window) {
  return FromHwnd(GetWindow(ToHwnd(window), GW_OWNER));
}

WindowHandle Win32WindowManager::Foreground() { return FromHwnd(GetForegroundWindow()); }

WindowHandle Win32WindowManager::RootWindow() { return FromHwnd(GetDesktopWindow()); }

void Win32WindowManager::Activate(WindowHandle window) {
  const HWND target = ToHwnd(window);
  if (SetForegroundWindow(target)) return;
  // Only the process that has the foreground may hand it on. Sharing the
  // input state of the thread that holds it lets this one do so; it is undone
  // at once. Neither call waits for that thread.
  const HWND holder = GetForegroundWindow();
  const DWORD holderThread = holder != nullptr ? GetWindowThreadProcessId(holder, nullptr) : 0;
  const DWORD ownThread = GetCurrentThreadId();
  if (holderThread == 0 || holderThread == ownThread) return;
  if (!AttachThreadInput(ownThread, holderThread, TRUE)) return;
  SetForegroundWindow(target);
  AttachThreadInput(ownThread, holderThread, FALSE);
}

std::int32_t Win32WindowManager::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

std::int32_t Win32WindowManager::ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

Point Win32WindowManager::CursorPos() {
  POINT p{0, 0};
  GetCursorPos(&p);
  return Point{p.x, p.y};
}

void Win32WindowManager::PutCursor(std::int32_t x, std::int32_t y) { SetCursorPos(x, y); }

bool Win32WindowManager::LeftButtonDown() {
  return (GetAsyncKeyState(VK_LBUTTON) & kKeyDownBit) != 0;
}

}  // namespace platform::win32
