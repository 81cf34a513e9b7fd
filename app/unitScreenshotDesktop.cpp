#include "app/unitScreenshotDesktop.h"

#include <algorithm>
#include <vector>

#include "desktops/window_rules.h"

namespace app {

namespace {
// Shows the hidden windows again when the picture is done, also when taking
// it threw (the picture's allocation): no window stays out of reach.
class ShowAgain {
 public:
  ShowAgain(platform::Platform& system, const std::vector<platform::WindowHandle>& hidden,
            platform::WindowHandle active)
      : system_(system), hidden_(hidden), active_(active) {}
  ShowAgain(const ShowAgain&) = delete;
  ShowAgain& operator=(const ShowAgain&) = delete;
  ~ShowAgain() {
    platform::WindowManager& windows = system_.windows;
    for (platform::WindowHandle window : hidden_) {
      windows.Move(window, 0, 0, kBareDesktopShowFlags);
    }
    // The shows are not waited for; the window's own thread takes the
    // activation after its show, in the order they were asked for.
    if (active_ != platform::kNoWindow) windows.Activate(active_);
    system_.watcher.ShownAgain();
  }

 private:
  platform::Platform& system_;
  const std::vector<platform::WindowHandle>& hidden_;
  platform::WindowHandle active_;
};
}  // namespace

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
  // The watcher shows them again if the program ends while they are hidden,
  // and so does leaving here, by any road.
  system.watcher.HidingForPicture(hidden);
  const ShowAgain showAgain{system, hidden, active};
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
}

}  // namespace app
