// Collecting the windows that take part in switching, and shifting them by
// whole screen widths so that the current desktop's windows stand on screen.
#include "app/Unit1.h"
#include "desktops/layout.h"

namespace app {

void TForm1::CollectWindows() {
  progmanWindow = system_.windows.FindByClass(kShellWindowClass);
  trayWindow = system_.windows.FindByClass(kTaskbarClass);
  managedWindows.clear();
  system_.windows.EnumerateTopLevel(
      [this](platform::WindowHandle window) { return CollectWindowProc(window); });
}

bool TForm1::CollectWindowProc(platform::WindowHandle window) {
  platform::WindowManager& windows = system_.windows;
  platform::Rect rect;
  // Parked windows are visible, only off screen, so they are collected too.
  if (window == progmanWindow || window == trayWindow || !windows.IsVisible(window) ||
      (windows.ExtendedStyle(window) & platform::kExStyleLayered) != 0 ||
      !windows.GetRect(window, &rect)) {
    return true;
  }
  managedWindows.push_back(window);
  return true;
}

void TForm1::SetArrangedDesktop(std::int32_t desktop) { arrangedDesktop = desktop; }

void TForm1::GatherWindows() {
  CollectWindows();
  const std::int32_t w = system_.windows.ScreenWidth();
  for (platform::WindowHandle window : managedWindows) {
    platform::Rect rect;
    if (!system_.windows.GetRect(window, &rect)) continue;
    // Its desktop relative to the one shown, judged as the foreground
    // follow judges it; shifted back by as many widths.
    const int offset = desktops::DesktopOffsetOf(rect, w);
    if (offset == 0) continue;
    const std::int64_t shift = -static_cast<std::int64_t>(w) * offset;
    system_.windows.Move(window, desktops::ShiftedLeft(rect.left, shift, w), rect.top,
                         kArrangeFlags);
  }
}

void TForm1::ArrangeWindows(std::int32_t desktop) {
  currentDesktop = desktop;
  if (managedWindows.empty()) return;
  const std::int32_t w = system_.windows.ScreenWidth();
  const std::int64_t shift = static_cast<std::int64_t>(w) * (arrangedDesktop - currentDesktop);
  for (platform::WindowHandle window : managedWindows) {
    // A window closed since the collection has no rectangle; its move fails
    // and it is in effect passed over.
    platform::Rect rect;
    system_.windows.GetRect(window, &rect);
    system_.windows.Move(window, desktops::ShiftedLeft(rect.left, shift, w), rect.top,
                         kArrangeFlags);
  }
}

}  // namespace app
