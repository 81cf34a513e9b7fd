#include "app/unitScreenshotDesktop.h"

#include <vector>

#include "desktops/window_rules.h"

namespace app {

void ScreenshotDesktop(platform::Platform& system, render::Bitmap* bitmap) {
  platform::WindowManager& windows = system.windows;
  const desktops::ShellWindows shell = desktops::FindShellWindows(windows);
  const platform::WindowHandle active = windows.Foreground();

  std::vector<platform::WindowHandle> hidden;
  windows.EnumerateTopLevel([&](platform::WindowHandle window) {
    if (windows.IsVisible(window) && window != shell.desktop && window != shell.taskbar &&
        !desktops::IsPartOfShell(windows, window)) {
      hidden.push_back(window);
    }
    return true;
  });
  // Hiding the active window would make the system activate the next one
  // down, raising it, and so on down the stack; with the keyboard on the
  // desktop meanwhile, the stack stays as it is.
  if (!hidden.empty()) windows.Activate(desktops::DesktopWindow(windows, shell));
  for (platform::WindowHandle window : hidden) windows.Move(window, 0, 0, kBareDesktopHideFlags);

  system.clock.Sleep(kBareDesktopWaitMs);

  bitmap->SetSize(windows.ScreenWidth(), windows.ScreenHeight());
  if (!bitmap->Empty()) {
    system.capture.CaptureScreen(bitmap->Width(), bitmap->Height(), false, bitmap->Data());
  }

  for (platform::WindowHandle window : hidden) windows.Move(window, 0, 0, kBareDesktopShowFlags);
  // The shows are not waited for; the window's own thread takes the
  // activation after its show, in the order they were asked for.
  if (active != platform::kNoWindow) windows.Activate(active);
}

}  // namespace app
