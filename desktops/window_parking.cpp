#include "desktops/window_parking.h"

#include <algorithm>

#include "desktops/layout.h"
#include "desktops/window_family.h"

namespace desktops {

WindowParking::WindowParking(platform::WindowManager& windows)
    : windows_(windows), displays_(desktops::ReadDisplays(windows)) {}

void WindowParking::ReadDisplays() { displays_ = desktops::ReadDisplays(windows_); }

void WindowParking::CollectWindows() {
  shell_ = FindShellWindows(windows_);
  managed_.clear();
  carried_.clear();
  carriedActive_ = platform::kNoWindow;
  windows_.EnumerateTopLevel(
      [this](platform::WindowHandle window) { return CollectWindowProc(window); });
}

bool WindowParking::CollectWindowProc(platform::WindowHandle window) {
  platform::Rect rect;
  if (Switches(shell_, window, &rect)) managed_.push_back(window);
  return true;
}

bool WindowParking::Switches(const ShellWindows& shell, platform::WindowHandle window,
                             platform::Rect* rect) {
  if (!TakesPart(windows_, shell, window, rect)) return false;
  if (!windows_.RunsAboveOwnIntegrity(window)) return true;
  if (firstImmovable_ == platform::kNoWindow) firstImmovable_ = window;
  return false;
}

void WindowParking::SetArrangedDesktop(std::int32_t desktop) { arrangedDesktop_ = desktop; }

void WindowParking::ArrangeWindows(std::int32_t desktop) {
  arranged_.clear();
  if (managed_.empty()) return;
  const Span span = displays_.span;
  const std::int64_t shift = static_cast<std::int64_t>(span.width) * (arrangedDesktop_ - desktop);
  for (platform::WindowHandle window : managed_) {
    // A window closed since the collection has no rectangle; its move fails
    // and it is in effect passed over.
    platform::Rect rect;
    const bool known = windows_.GetRect(window, &rect);
    const std::int32_t left = ShiftedLeft(rect.left, Carried(window) ? 0 : shift, span);
    windows_.Move(window, left, rect.top, kArrangeFlags);
    if (known) {
      arranged_.push_back({window, {left, rect.top, left + (rect.right - rect.left), rect.bottom}});
    }
  }
}

GatherResult WindowParking::GatherWindows(const std::vector<platform::WindowHandle>& hidden) {
  GatherResult result;
  // Hidden ones are shown in the same move: a show not waited for would
  // still read as hidden below, and a hidden window is never gathered there.
  for (platform::WindowHandle window : hidden) {
    platform::Rect rect;
    if (windows_.GetRect(window, &rect)) Gather({window, rect}, true, &result);
  }
  for (const PlacedWindow& placed : WindowsAsTheyStand(FindShellWindows(windows_))) {
    Gather(placed, false, &result);
  }
  return result;
}

void WindowParking::Gather(const PlacedWindow& placed, bool show, GatherResult* result) {
  const Span span = displays_.span;
  // Where a window of another desktop stands while its own desktop is shown:
  // its desktop relative to the one shown, judged as the foreground follow
  // judges it, and shifted back by as many widths.
  const auto gathered = [span](const platform::Rect& rect, std::int32_t* left) {
    *left = HomeLeft(rect, span);
    return DesktopOffsetOf(rect, span) != 0;
  };
  const auto count = [this, result](bool done) {
    if (done) {
      ++result->moved;
    } else {
      ++result->refused;
      result->lastError = windows_.LastError();
    }
  };
  std::int32_t left = placed.rect.left;
  if (!windows_.IsMinimised(placed.window)) {
    if (gathered(placed.rect, &left) || show) {
      count(windows_.Move(placed.window, left, placed.rect.top, kArrangeFlags));
    }
    return;
  }
  // A minimised window's rectangle is its icon's. It comes back where it
  // stood when it was minimised, which may be parked: restored there after
  // the program has gone, it would be out of reach for good.
  bool done =
      !show || windows_.Move(placed.window, placed.rect.left, placed.rect.top, kArrangeFlags);
  platform::Rect restore;
  const bool parked = windows_.GetRestoreRect(placed.window, &restore) && gathered(restore, &left);
  if (parked) done = windows_.MoveRestoreRect(placed.window, left, restore.top) && done;
  if (show || parked) count(done);
}

bool WindowParking::ShowHiddenTaskbar() {
  const platform::WindowHandle taskbar = windows_.FindByClass(kTaskbarClass);
  if (taskbar == platform::kNoWindow || windows_.IsVisible(taskbar)) return false;
  ShowTaskbar(true);
  return true;
}

GatherResult WindowParking::FollowDisplays() {
  const Displays now = desktops::ReadDisplays(windows_);
  const Span before = displays_.span;
  displays_ = now;
  return MoveEachStanding([&](const platform::Rect& rect) { return Replaced(rect, before, now); });
}

GatherResult WindowParking::MoveEachStanding(
    const std::function<platform::Point(const platform::Rect&)>& place) {
  GatherResult done;
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
    if (moved) {
      ++done.moved;
    } else {
      ++done.refused;
      done.lastError = windows_.LastError();
    }
  }
  return done;
}

void WindowParking::ShowTaskbar(bool show) {
  const platform::WindowHandle taskbar = windows_.FindByClass(kTaskbarClass);
  if (taskbar == platform::kNoWindow) return;
  windows_.Move(taskbar, 0, 0, show ? kShowTaskbarFlags : kHideTaskbarFlags);
}

bool WindowParking::CarryAlong(platform::WindowHandle window) {
  carried_.clear();
  carriedActive_ = platform::kNoWindow;
  platform::Rect rect;
  if (std::find(managed_.begin(), managed_.end(), window) == managed_.end() ||
      windows_.IsMinimised(window) || !windows_.GetRect(window, &rect) ||
      DesktopOffsetOf(rect, displays_.span) != 0) {
    return false;
  }
  carried_ = FamilyOf(windows_, managed_, window);
  carriedActive_ = window;
  return true;
}

bool WindowParking::Carried(platform::WindowHandle window) const {
  return std::find(carried_.begin(), carried_.end(), window) != carried_.end();
}

platform::WindowHandle WindowParking::KeyboardWindowArranged() {
  if (carriedActive_ != platform::kNoWindow && windows_.IsVisible(carriedActive_)) {
    return carriedActive_;
  }
  return KeyboardWindow(windows_, displays_.span, arranged_, DesktopWindow(windows_, shell_));
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
