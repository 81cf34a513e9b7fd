#pragma once
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/window_manager.h"

namespace platform::win32 {

class Win32WindowManager : public WindowManager {
 public:
  Win32WindowManager();

  WindowHandle FindByClass(const std::string& className) override;
  void EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) override;
  bool IsVisible(WindowHandle window) override;
  std::uint32_t ExtendedStyle(WindowHandle window) override;
  bool GetRect(WindowHandle window, Rect* rect) override;
  bool IsMinimised(WindowHandle window) override;
  bool IsOfClass(WindowHandle window, const std::string& className) override;
  bool HasChildOfClass(WindowHandle window, const std::string& className) override;
  bool IsCloaked(WindowHandle window) override;
  bool Move(WindowHandle window, std::int32_t x, std::int32_t y, std::uint32_t flags) override;
  bool GetRestoreRect(WindowHandle window, Rect* rect) override;
  bool MoveRestoreRect(WindowHandle window, std::int32_t x, std::int32_t y) override;
  std::uint32_t LastError() override { return GetLastError(); }
  WindowHandle Owner(WindowHandle window) override;
  WindowHandle Foreground() override;
  WindowHandle RootWindow() override;
  void Activate(WindowHandle window) override;
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;
  Point CursorPos() override;
  void PutCursor(std::int32_t x, std::int32_t y) override;
  bool LeftButtonDown() override;

 private:
  using GetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
  // The desktop window manager's library, where the system has one.
  Library dwm_;
  GetWindowAttribute getWindowAttribute_ = nullptr;
};

}  // namespace platform::win32
