#pragma once
#include <windows.h>

#include "platform/main_window.h"

namespace platform::win32 {

// The program's main window: a borderless popup with its own device context
// for OpenGL, created hidden, and always on top while it is shown.
class Win32MainWindow : public MainWindow {
 public:
  static constexpr const char* kClassName = "TForm1";
  static constexpr const char* kCaption = "wndRomboDesktop";

  Win32MainWindow(HINSTANCE instance, WNDPROC procedure, HICON icon);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  HWND hwnd() const { return window_; }
  // Destroys the window now (its WM_DESTROY runs before this returns).
  void Destroy();
  // True from Destroy on: a WM_DESTROY at any other time was sent or posted
  // by someone else, and the window lives on.
  bool Destroying() const { return destroying_; }

  WindowHandle Handle() override;
  void Place(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
  void ShowOnTop() override;
  void Hide() override;
  bool IsVisible() override;
  void Repaint() override;
  void Close() override;
  void SetTickInterval(std::uint32_t milliseconds) override;
  void StopTicks() override;
  bool DefaultCapPicture(std::int32_t* width, std::int32_t* height,
                         std::vector<std::uint8_t>* pixels) override;

  static constexpr UINT_PTR kTimerId = 1;
  // The resource that holds the default cap picture.
  static constexpr const char* kDefaultCapResource = "IMGDEFAULT";

 private:
  HINSTANCE instance_;
  HWND window_ = nullptr;
  bool destroying_ = false;
  bool ticking_ = false;
  std::uint32_t interval_ = 0;
};

}  // namespace platform::win32
