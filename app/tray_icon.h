#pragma once
// The program's icon in the notification area: added at start, tried again
// while the taskbar is missing (at sign-in it may come up after the
// program), added again when the shell restarts, and the balloon that waits
// for it to be there.
#include <cstdint>
#include <string>

#include "platform/log.h"
#include "platform/main_window.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace app {

// While the taskbar is not there to take the tray icon, adding the icon is
// tried again this often.
constexpr std::uint32_t kTrayRetryMs = 1000;

class TrayIcon {
 public:
  TrayIcon(platform::Shell& shell, platform::Clock& clock, platform::MainWindow& owner,
           platform::Log& log)
      : shell_(shell), clock_(clock), owner_(owner), log_(log) {}

  // Adds the icon, and shows a balloon still waiting for it.
  void Show();
  // Shows the icon once kTrayRetryMs have passed since the last try, while
  // it is missing.
  void Retry();
  void Remove();
  // The notification area shows the icon.
  bool Shown() const { return shown_; }
  // A balloon from the icon, at once or as soon as the icon is there; once.
  // One that waits takes the next on a line of its own.
  void ShowBalloon(const std::string& text);
  // The icon carries the number (1 to 4) of the current desktop, and its tip
  // reads "RomboDesktop - " and the language's `desktopText` with the
  // number in it. Each changes the icon only when it changes what it shows.
  void ShowDesktop(int number);
  void SetDesktopText(const std::string& desktopText);
  int DesktopNumber() const { return desktopNumber_; }

 private:
  void ShowPendingBalloon();
  void DrawDesktop();

  platform::Shell& shell_;
  platform::Clock& clock_;
  platform::MainWindow& owner_;
  platform::Log& log_;
  bool shown_ = false;
  // When adding the icon was last tried.
  std::uint32_t retryClock_ = 0;
  std::string pendingBalloon_;
  // 0 until a number is shown.
  int desktopNumber_ = 0;
  std::string desktopText_;
};

}  // namespace app
