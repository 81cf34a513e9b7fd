#pragma once
#include "platform/window_manager.h"

namespace platform::win32 {

class Win32WindowManager : public WindowManager {
 public:
  WindowHandle FindByClass(const std::string& className) override;
  void EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) override;
  bool IsVisible(WindowHandle window) override;
  std::uint32_t ExtendedStyle(WindowHandle window) override;
  bool GetRect(WindowHandle window, Rect* rect) override;
  bool Move(WindowHandle window, std::int32_t x, std::int32_t y, std::uint32_t flags) override;
  void Show(WindowHandle window, ShowCommand command) override;
  WindowHandle Foreground() override;
  std::int32_t ScreenWidth() override;
  std::int32_t ScreenHeight() override;
  Point CursorPos() override;
  void PutCursor(std::int32_t x, std::int32_t y) override;
  bool LeftButtonDown() override;
};

}  // namespace platform::win32
