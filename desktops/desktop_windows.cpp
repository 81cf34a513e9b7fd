// Collecting the windows that take part in switching, and shifting them by
// whole screen widths so that the current desktop's windows stand on screen.
#include "app/Unit1.h"
#include "desktops/layout.h"

namespace app {

void TForm1::CollectWindows() {
  const desktops::ShellWindows shell = desktops::FindShellWindows(system_.windows);
  progmanWindow = shell.desktop;
  trayWindow = shell.taskbar;
  managedWindows.clear();
  system_.windows.EnumerateTopLevel(
      [this](platform::WindowHandle window) { return CollectWindowProc(window); });
}

bool TForm1::CollectWindowProc(platform::WindowHandle window) {
  platform::Rect rect;
  if (desktops::TakesPart(system_.windows, {progmanWindow, trayWindow}, window, &rect)) {
    managedWindows.push_back(window);
  }
  return true;
}

void TForm1::SetArrangedDesktop(std::int32_t desktop) { arrangedDesktop = desktop; }

void TForm1::GatherWindows() {
  const std::int32_t w = system_.windows.ScreenWidth();
  for (const desktops::PlacedWindow& placed :
       WindowsAsTheyStand(desktops::FindShellWindows(system_.windows))) {
    // Its desktop relative to the one shown, judged as the foreground
    // follow judges it; shifted back by as many widths.
    const int offset = desktops::DesktopOffsetOf(placed.rect, w);
    if (offset == 0) continue;
    const std::int64_t shift = -static_cast<std::int64_t>(w) * offset;
    system_.windows.Move(placed.window, desktops::ShiftedLeft(placed.rect.left, shift, w),
                         placed.rect.top, kArrangeFlags);
  }
}

void TForm1::ArrangeWindows(std::int32_t desktop) {
  currentDesktop = desktop;
  arranged_.clear();
  if (managedWindows.empty()) return;
  const std::int32_t w = system_.windows.ScreenWidth();
  const std::int64_t shift = static_cast<std::int64_t>(w) * (arrangedDesktop - currentDesktop);
  for (platform::WindowHandle window : managedWindows) {
    // A window closed since the collection has no rectangle; its move fails
    // and it is in effect passed over.
    platform::Rect rect;
    const bool known = system_.windows.GetRect(window, &rect);
    const std::int32_t left = desktops::ShiftedLeft(rect.left, shift, w);
    system_.windows.Move(window, left, rect.top, kArrangeFlags);
    // The move is not waited for, so where the window goes is kept here.
    if (known) {
      arranged_.push_back({window, {left, rect.top, left + (rect.right - rect.left), rect.bottom}});
    }
  }
}

std::vector<desktops::PlacedWindow> TForm1::WindowsAsTheyStand(
    const desktops::ShellWindows& shell) {
  std::vector<desktops::PlacedWindow> standing;
  system_.windows.EnumerateTopLevel([&](platform::WindowHandle window) {
    platform::Rect rect;
    if (desktops::TakesPart(system_.windows, shell, window, &rect)) {
      standing.push_back({window, rect});
    }
    return true;
  });
  return standing;
}

void TForm1::HandOnForeground(const std::vector<desktops::PlacedWindow>& placed,
                              const desktops::ShellWindows& shell) {
  const platform::WindowHandle keyboard = desktops::KeyboardWindow(
      system_.windows, placed, desktops::DesktopWindow(system_.windows, shell));
  if (keyboard == platform::kNoWindow) return;
  system_.windows.Activate(keyboard);
  lastForeground = keyboard;
}

}  // namespace app
