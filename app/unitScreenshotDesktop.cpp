#include "app/unitScreenshotDesktop.h"

#include <vector>

#include "app/Unit1.h"

namespace app {

void ScreenshotDesktop(platform::Platform& system, render::Bitmap* bitmap) {
  platform::WindowManager& windows = system.windows;
  const platform::WindowHandle shellWindow = windows.FindByClass(kShellWindowClass);
  const platform::WindowHandle taskbar = windows.FindByClass(kTaskbarClass);

  std::vector<platform::WindowHandle> hidden;
  windows.EnumerateTopLevel([&](platform::WindowHandle window) {
    if (windows.IsVisible(window) && window != shellWindow && window != taskbar) {
      hidden.push_back(window);
    }
    return true;
  });
  for (platform::WindowHandle window : hidden) windows.Show(window, platform::kShowHide);

  system.clock.Sleep(kBareDesktopWaitMs);

  bitmap->SetSize(windows.ScreenWidth(), windows.ScreenHeight());
  if (!bitmap->Empty()) {
    system.capture.CaptureScreen(bitmap->Width(), bitmap->Height(), false, bitmap->Data());
  }

  for (platform::WindowHandle window : hidden) windows.Show(window, platform::kShowShow);
}

}  // namespace app
