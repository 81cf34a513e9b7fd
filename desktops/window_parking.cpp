#include "desktops/window_parking.h"

#include "desktops/layout.h"

namespace desktops {

void WindowParking::CollectWindows() {
  const ShellWindows shell = FindShellWindows(windows_);
  progmanWindow = shell.desktop;
  trayWindow = shell.taskbar;
  managedWindows.clear();
  windows_.EnumerateTopLevel(
      [this](platform::WindowHandle window) { return CollectWindowProc(window); });
}

bool WindowParking::CollectWindowProc(platform::WindowHandle window) {
  platform::Rect rect;
  if (TakesPart(windows_, {progmanWindow, trayWindow}, window, &rect)) {
    managedWindows.push_back(window);
  }
  return true;
}

void WindowParking::SetArrangedDesktop(std::int32_t desktop) { arrangedDesktop = desktop; }

void WindowParking::ArrangeWindows(std::int32_t desktop) {
  arranged_.clear();
  if (managedWindows.empty()) return;
  const std::int32_t w = windows_.ScreenWidth();
  const std::int64_t shift = static_cast<std::int64_t>(w) * (arrangedDesktop - desktop);
  for (platform::WindowHandle window : managedWindows) {
    // A window closed since the collection has no rectangle; its move fails
    // and it is in effect passed over.
    platform::Rect rect;
    const bool known = windows_.GetRect(window, &rect);
    const std::int32_t left = ShiftedLeft(rect.left, shift, w);
    windows_.Move(window, left, rect.top, kArrangeFlags);
    if (known) {
      arranged_.push_back({window, {left, rect.top, left + (rect.right - rect.left), rect.bottom}});
    }
  }
}

void WindowParking::GatherWindows() {
  const std::int32_t w = windows_.ScreenWidth();
  for (const PlacedWindow& placed : WindowsAsTheyStand(FindShellWindows(windows_))) {
    // Its desktop relative to the one shown, judged as the foreground
    // follow judges it; shifted back by as many widths.
    const int offset = DesktopOffsetOf(placed.rect, w);
    if (offset == 0) continue;
    const std::int64_t shift = -static_cast<std::int64_t>(w) * offset;
    windows_.Move(placed.window, ShiftedLeft(placed.rect.left, shift, w), placed.rect.top,
                  kArrangeFlags);
  }
}

void WindowParking::ShowTaskbar(bool show) {
  const platform::WindowHandle taskbar = windows_.FindByClass(kTaskbarClass);
  if (taskbar == platform::kNoWindow) return;
  windows_.Move(taskbar, 0, 0, show ? kShowTaskbarFlags : kHideTaskbarFlags);
}

platform::WindowHandle WindowParking::KeyboardWindowArranged() {
  return KeyboardWindow(windows_, arranged_, DesktopWindow(windows_, {progmanWindow, trayWindow}));
}

platform::WindowHandle WindowParking::KeyboardWindowNow() {
  const ShellWindows shell = FindShellWindows(windows_);
  return KeyboardWindow(windows_, WindowsAsTheyStand(shell), DesktopWindow(windows_, shell));
}

std::vector<PlacedWindow> WindowParking::WindowsAsTheyStand(const ShellWindows& shell) {
  std::vector<PlacedWindow> standing;
  windows_.EnumerateTopLevel([&](platform::WindowHandle window) {
    platform::Rect rect;
    if (TakesPart(windows_, shell, window, &rect)) standing.push_back({window, rect});
    return true;
  });
  return standing;
}

}  // namespace desktops
