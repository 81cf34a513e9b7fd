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
  if (Switches({progmanWindow, trayWindow}, window, &rect)) managedWindows.push_back(window);
  return true;
}

bool WindowParking::Switches(const ShellWindows& shell, platform::WindowHandle window,
                             platform::Rect* rect) {
  if (!TakesPart(windows_, shell, window, rect)) return false;
  if (!windows_.RunsAboveOwnIntegrity(window)) return true;
  if (firstImmovable_ == platform::kNoWindow) firstImmovable_ = window;
  return false;
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
  // Where a window of another desktop stands while its own desktop is shown.
  MoveEachStanding([span](const platform::Rect& rect) {
    return platform::Point{HomeLeft(rect, span), rect.top};
  });
}

Replacement WindowParking::FollowDisplays() {
  const Displays now = desktops::ReadDisplays(windows_);
  const Span before = displays_.span;
  displays_ = now;
  return MoveEachStanding([&](const platform::Rect& rect) { return Replaced(rect, before, now); });
}

Replacement WindowParking::MoveEachStanding(
    const std::function<platform::Point(const platform::Rect&)>& place) {
  Replacement done;
  for (const PlacedWindow& placed : WindowsAsTheyStand(FindShellWindows(windows_))) {
    // Restored where it stood when it was minimised, which may be parked:
    // restored there, it would be out of reach for good.
    const bool minimised = windows_.IsMinimised(placed.window);
    platform::Rect from = placed.rect;
    if (minimised && !windows_.GetRestoreRect(placed.window, &from)) continue;
    const platform::Point to = place(from);
    if (to.x == from.left && to.y == from.top) continue;
    const bool moved = minimised ? windows_.MoveRestoreRect(placed.window, to.x, to.y)
                                 : windows_.Move(placed.window, to.x, to.y, kArrangeFlags);
    ++(moved ? done.moved : done.refused);
  }
  return done;
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
    if (Switches(shell, window, &rect)) standing.push_back({window, rect});
    return true;
  });
  return standing;
}

}  // namespace desktops
