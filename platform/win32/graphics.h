#pragma once
#include <windows.h>

#include "platform/graphics.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32Graphics : public Graphics {
 public:
  // The window must have its own device context (CS_OWNDC), kept for good.
  explicit Win32Graphics(HWND window);
  ~Win32Graphics() override;
  Win32Graphics(const Win32Graphics&) = delete;
  Win32Graphics& operator=(const Win32Graphics&) = delete;

  void LoadLibraries() override;
  void SetUpPixelFormat() override;
  void CreateContext() override;
  void Present() override;
  void DeleteContext() override;

 private:
  WindowDc dc_;
  HGLRC glContext_ = nullptr;
};

}  // namespace platform::win32
