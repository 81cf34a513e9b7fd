#pragma once
// Shell-side services of the main window: the notification-area icon, the
// system-wide hotkeys and the mouse hook library.
#include <cstdint>
#include <string>

#include "hook/signal.h"
#include "platform/types.h"

namespace platform {

// The message the notification-area icon reports its mouse events with
// (WM_USER + 1).
constexpr std::uint32_t kTrayCallbackMessage = 0x0401;
// Posted to the watching window when another window became the foreground
// window (WM_USER + 2).
constexpr std::uint32_t kForegroundChangedMessage = 0x0402;
// The mouse hook library's signal file, and the message posted to the main
// window once it is in place, by the library and by the watch on its
// directory.
constexpr const char* kSignalFileName = LIBROMBO_SIGNAL_FILE_NAME;
constexpr std::uint32_t kSignalWrittenMessage = LIBROMBO_SIGNAL_MESSAGE;

class Shell {
 public:
  virtual ~Shell() = default;
  // True once the notification area shows the icon, also when it showed it
  // already (a second one is never made); false while there is no taskbar
  // to take it.
  virtual bool AddTrayIcon(WindowHandle owner) = 0;
  virtual void RemoveTrayIcon() = 0;
  // The program's icon at the size the notification area shows icons in (the
  // system's small-icon size, larger on high-DPI screens): 32 bits a pixel,
  // the fourth byte the opacity, rows bottom-up. Empty when it cannot be had.
  virtual PixelImage TrayIconPicture() = 0;
  // Shows this picture (as TrayIconPicture gives it) and tip (Windows-1252)
  // as the tray icon, now if it is there and whenever it is added again.
  // False when the icon could not be made or changed.
  virtual bool SetTrayIcon(const PixelImage& picture, const std::string& tip) = 0;
  // A balloon from the icon with the text (Windows-1252), as the shell shows
  // notices. False when it could not be shown.
  virtual bool ShowTrayBalloon(const std::string& text) = 0;
  virtual bool RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                              std::uint32_t virtualKey) = 0;
  virtual void UnregisterHotKey(WindowHandle owner, int id) = 0;
  virtual void InstallMouseHook(WindowHandle owner) = 0;
  virtual void UninstallMouseHook() = 0;
  // Has kForegroundChangedMessage posted to `owner` whenever a window of
  // another program becomes the foreground window, until stopped.
  virtual void WatchForeground(WindowHandle owner) = 0;
  virtual void StopWatchingForeground() = 0;
  // Has kSignalWrittenMessage posted to `owner` whenever the file at `path`
  // is there after its directory changed, until stopped: a signal file that
  // another program than the library put there is seen too.
  virtual void WatchSignalFile(WindowHandle owner, const std::string& path) = 0;
  virtual void StopWatchingSignalFile() = 0;
  // True when the program runs elevated: with more rights than the shell
  // (started so by an installer that ran elevated, for instance).
  virtual bool RunsElevated() = 0;
};

}  // namespace platform
