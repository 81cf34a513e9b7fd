#include "app/unitScreenshotDesktop.h"

#include <algorithm>
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
  // Hiding the active window makes the system activate, and raise, the next
  // window down the stack. So it goes last, once the others are gone (or,
  // for one that does not answer, once they have had their time).
  for (platform::WindowHandle window : hidden) {
    if (window != active) windows.Move(window, 0, 0, kBareDesktopHideFlags);
  }
  const std::uint32_t hiding = system.clock.TickCount();
  while (std::any_of(hidden.begin(), hidden.end(),
                     [&](platform::WindowHandle window) {
                       return window != active && windows.IsVisible(window);
                     }) &&
         system.clock.TickCount() - hiding < kBareDesktopHideWaitMs) {
    system.clock.Sleep(kBareDesktopPollMs);
  }
  if (std::find(hidden.begin(), hidden.end(), active) != hidden.end()) {
    windows.Move(active, 0, 0, kBareDesktopHideFlags);
  }

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
