#pragma once
// Which top-level windows take part in switching, which belong to the shell
// on every desktop, and which one takes the keyboard on the desktop shown.
#include <cstdint>
#include <vector>

#include "desktops/layout.h"
#include "platform/window_manager.h"

namespace desktops {

// The desktop shell window and the taskbar, found by class.
constexpr const char* kShellWindowClass = "progman";
constexpr const char* kTaskbarClass = "shell_traywnd";
// More of the shell on newer systems: the taskbars of the other monitors,
// and the window that hosts the desktop icons (a "WorkerW" with the icon
// view inside).
constexpr const char* kSecondaryTaskbarClass = "shell_secondarytraywnd";
constexpr const char* kIconHostClass = "workerw";
constexpr const char* kIconViewClass = "shelldll_defview";

struct ShellWindows {
  platform::WindowHandle desktop = platform::kNoWindow;
  platform::WindowHandle taskbar = platform::kNoWindow;
};

ShellWindows FindShellWindows(platform::WindowManager& windows);

// The displays as the system has them now.
Displays ReadDisplays(platform::WindowManager& windows);

// The shell's other windows that stand on every desktop, and windows the
// compositor does not show although they count as visible.
bool IsPartOfShell(platform::WindowManager& windows, platform::WindowHandle window);

// The collection's filter: true for a window that is moved between desktops;
// its rectangle is then in *rect. Layered windows, hidden ones and the shell
// stay where they are.
bool TakesPart(platform::WindowManager& windows, const ShellWindows& shell,
               platform::WindowHandle window, platform::Rect* rect);

// What has the keyboard when no window of a program should: the shell's
// desktop window, or where there is none the system's root window.
platform::WindowHandle DesktopWindow(platform::WindowManager& windows, const ShellWindows& shell);

// A window and where it stands (or is about to stand).
struct PlacedWindow {
  platform::WindowHandle window = platform::kNoWindow;
  platform::Rect rect;
};

// The window that should have the keyboard on the desktop on the screen: the
// first of `placed` (topmost first) that stands on a monitor (within the
// layout's span) and takes
// activation as the user would give it (shown, not minimised, not a tool
// window); otherwise `desktopWindow`.
platform::WindowHandle KeyboardWindow(platform::WindowManager& windows, Span span,
                                      const std::vector<PlacedWindow>& placed,
                                      platform::WindowHandle desktopWindow);

}  // namespace desktops
