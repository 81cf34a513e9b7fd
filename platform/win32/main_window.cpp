#include "platform/win32/main_window.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

Win32MainWindow::Win32MainWindow(HINSTANCE instance, WNDPROC procedure, HICON icon)
    : instance_(instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // Its own device context keeps the OpenGL pixel format for good.
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  RegisterClassExA(&windowClass);
  // A tool window: the cube has no taskbar button of its own. It is topmost
  // only while it shows the cube.
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, kCaption,
                            WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, nullptr,
                            nullptr, instance, nullptr);
}

Win32MainWindow::~Win32MainWindow() { Destroy(); }

void Win32MainWindow::Destroy() {
  if (window_ == nullptr) return;
  destroying_ = true;
  DestroyWindow(window_);
  window_ = nullptr;
}

WindowHandle Win32MainWindow::Handle() { return FromHwnd(window_); }

void Win32MainWindow::Place(std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height) {
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::ShowOnTop() {
  ShowWindow(window_, SW_SHOW);
  SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window_);
}

void Win32MainWindow::Hide() {
  ShowWindow(window_, SW_HIDE);
  SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Win32MainWindow::IsVisible() { return IsWindowVisible(window_) != FALSE; }

void Win32MainWindow::Repaint() {
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Win32MainWindow::Close() { SendMessageA(window_, WM_CLOSE, 0, 0); }

void Win32MainWindow::SetTickInterval(std::uint32_t milliseconds) {
  if (ticking_ && interval_ == milliseconds) return;
  // Setting the same timer again only changes its interval.
  ticking_ = SetTimer(window_, kTimerId, milliseconds, nullptr) != 0;
  interval_ = milliseconds;
}

void Win32MainWindow::StopTicks() {
  // Asked at every tick between sessions: only a running timer costs a call.
  if (!ticking_) return;
  KillTimer(window_, kTimerId);
  ticking_ = false;
}

bool Win32MainWindow::DefaultCapPicture(std::int32_t* width, std::int32_t* height,
                                        std::vector<std::uint8_t>* pixels) {
  GdiObject bitmap(
      LoadImageA(instance_, kDefaultCapResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP info;
  if (bitmap.get() == nullptr || GetObjectA(bitmap.get(), sizeof(info), &info) == 0) return false;
  BITMAPINFO request = BottomUpPixels(info.bmWidth, info.bmHeight);
  pixels->assign(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight) *
                     platform::kBytesPerPixel,
                 0);
  WindowDc screen(nullptr, GetDC(nullptr));
  const int rows =
      GetDIBits(screen.get(), static_cast<HBITMAP>(bitmap.get()), 0,
                static_cast<UINT>(info.bmHeight), pixels->data(), &request, DIB_RGB_COLORS);
  if (rows != info.bmHeight) return false;
  *width = info.bmWidth;
  *height = info.bmHeight;
  return true;
}

}  // namespace platform::win32
