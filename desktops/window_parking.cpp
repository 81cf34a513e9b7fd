#include "desktops/window_parking.h"

#include "desktops/layout.h"

namespace desktops {

WindowParking::WindowParking(platform::WindowManager& windows)
    : windows_(windows), displays_(desktops::ReadDisplays(windows)) {}

void WindowParking::ReadDisplays() { displays_ = desktops::ReadDisplays(windows_); }

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
  const Span span = displays_.span;
  const std::int64_t shift = static_cast<std::int64_t>(span.width) * (arrangedDesktop - desktop);
  for (platform::WindowHandle window : managedWindows) {
    // A window closed since the collection has no rectangle; its move fails
    // and it is in effect passed over.
    platform::Rect rect;
    const bool known = windows_.GetRect(window, &rect);
    const std::int32_t left = ShiftedLeft(rect.left, shift, span);
    windows_.Move(window, left, rect.top, kArrangeFlags);
    if (known) {
      arranged_.push_back({window, {left, rect.top, left + (rect.right - rect.left), rect.bottom}});
    }
  }
}

void WindowParking::GatherWindows() {
  const Span span = displays_.span;
  // Where a window of another desktop stands while its own desktop is shown:
  // its desktop relative to the one shown, judged as the foreground follow
  // judges it, and shifted back by as many widths.
  const auto gathered = [span](const platform::Rect& rect, std::int32_t* left) {
    *left = HomeLeft(rect, span);
    return DesktopOffsetOf(rect, span) != 0;
  };
  for (const PlacedWindow& placed : WindowsAsTheyStand(FindShellWindows(windows_))) {
    std::int32_t left = 0;
    if (!windows_.IsMinimised(placed.window)) {
      if (gathered(placed.rect, &left)) {
        windows_.Move(placed.window, left, placed.rect.top, kArrangeFlags);
      }
      continue;
    }
    // A minimised window's rectangle is its icon's. It comes back where it
    // stood when it was minimised, which may be parked: restored there after
    // an uninstall, it would be out of reach for good.
    platform::Rect restore;
    if (windows_.GetRestoreRect(placed.window, &restore) && gathered(restore, &left)) {
      windows_.MoveRestoreRect(placed.window, left, restore.top);
    }
  }
}

void WindowParking::ShowTaskbar(bool show) {
  const platform::WindowHandle taskbar = windows_.FindByClass(kTaskbarClass);
  if (taskbar == platform::kNoWindow) return;
  windows_.Move(taskbar, 0, 0, show ? kShowTaskbarFlags : kHideTaskbarFlags);
}

platform::WindowHandle WindowParking::KeyboardWindowArranged() {
  return KeyboardWindow(windows_, displays_.span, arranged_,
                        DesktopWindow(windows_, {progmanWindow, trayWindow}));
}

platform::WindowHandle WindowParking::KeyboardWindowNow() {
  const ShellWindows shell = FindShellWindows(windows_);
  return KeyboardWindow(windows_, displays_.span, WindowsAsTheyStand(shell),
                        DesktopWindow(windows_, shell));
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
