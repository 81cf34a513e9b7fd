#include "desktops/window_rules.h"

namespace desktops {

ShellWindows FindShellWindows(platform::WindowManager& windows) {
  return ShellWindows{windows.FindByClass(kShellWindowClass), windows.FindByClass(kTaskbarClass)};
}

Displays ReadDisplays(platform::WindowManager& windows) {
  return DisplaysOf(windows.VirtualScreen(), windows.Monitors());
}

platform::WindowHandle DesktopWindow(platform::WindowManager& windows, const ShellWindows& shell) {
  return shell.desktop != platform::kNoWindow ? shell.desktop : windows.RootWindow();
}

bool IsPartOfShell(platform::WindowManager& windows, platform::WindowHandle window) {
  return windows.IsOfClass(window, kSecondaryTaskbarClass) ||
         (windows.IsOfClass(window, kIconHostClass) &&
          windows.HasChildOfClass(window, kIconViewClass)) ||
         windows.IsCloaked(window);
}

bool TakesPart(platform::WindowManager& windows, const ShellWindows& shell,
               platform::WindowHandle window, platform::Rect* rect) {
  // Parked windows are visible, only off screen, so they take part too.
  return window != shell.desktop && window != shell.taskbar && windows.IsVisible(window) &&
         (windows.ExtendedStyle(window) & platform::kExStyleLayered) == 0 &&
         windows.GetRect(window, rect) && !IsPartOfShell(windows, window);
}

platform::WindowHandle KeyboardWindow(platform::WindowManager& windows, Span span,
                                      const std::vector<PlacedWindow>& placed,
                                      platform::WindowHandle desktopWindow) {
  constexpr std::uint32_t kNotForKeyboard =
      platform::kExStyleToolWindow | platform::kExStyleNoActivate;
  for (const PlacedWindow& candidate : placed) {
    if (DesktopOffsetOf(candidate.rect, span) == 0 && windows.IsVisible(candidate.window) &&
        !windows.IsMinimised(candidate.window) &&
        (windows.ExtendedStyle(candidate.window) & kNotForKeyboard) == 0) {
      return candidate.window;
    }
  }
  return desktopWindow;
}

}  // namespace desktops
