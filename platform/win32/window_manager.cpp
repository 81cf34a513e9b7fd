#include <windows.h>

#include "platform/win32/window_manager.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);

BOOL CALLBACK VisitWindow(HWND window, LPARAM context) {
  const auto& visit = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(context);
  return visit(FromHwnd(window)) ? TRUE : FALSE;
}
}  // namespace

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

bool Win32WindowManager::Move(WindowHandle window, std::int32_t x, std::int32_t y,
                              std::uint32_t flags) {
  return SetWindowPos(ToHwnd(window), nullptr, x, y, 0, 0, flags) != FALSE;
}

void Win32WindowManager::Show(WindowHandle window, ShowCommand command) {
  ShowWindow(ToHwnd(window), command);
}

WindowHandle Win32WindowManager::Foreground() { return FromHwnd(GetForegroundWindow()); }

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
