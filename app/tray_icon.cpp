#include "app/tray_icon.h"

#include "lang/interface_texts.h"
#include "lang/lang_text.h"
#include "render/desktop_number.h"

namespace app {

namespace {
// The tip's first half, the same in every language.
constexpr const char* kTipProgramName = "RomboDesktop - ";
constexpr const char* kBalloonSeparator = "\n";
}  // namespace

void TrayIcon::Show() {
  shown_ = shell_.AddTrayIcon(owner_.Handle());
  retryClock_ = clock_.TickCount();
  ShowPendingBalloon();
}

void TrayIcon::Retry() {
  if (shown_) return;
  // Unsigned, so a wrap of the tick count changes nothing.
  if (static_cast<std::uint32_t>(clock_.TickCount() - retryClock_) < kTrayRetryMs) return;
  Show();
}

void TrayIcon::Remove() { shell_.RemoveTrayIcon(); }

void TrayIcon::ShowBalloon(const std::string& text) {
  // Two notices of one start share a balloon while it waits, one a line.
  if (!pendingBalloon_.empty()) pendingBalloon_ += kBalloonSeparator;
  pendingBalloon_ += text;
  ShowPendingBalloon();
}

void TrayIcon::ShowPendingBalloon() {
  if (!shown_ || pendingBalloon_.empty()) return;
  // Once per start, whatever the shell makes of it.
  shell_.ShowTrayBalloon(pendingBalloon_);
  pendingBalloon_.clear();
}

void TrayIcon::ShowDesktop(int number) {
  if (number == desktopNumber_) return;
  desktopNumber_ = number;
  DrawDesktop();
}

void TrayIcon::SetDesktopText(const std::string& desktopText) {
  if (desktopText == desktopText_) return;
  desktopText_ = desktopText;
  if (desktopNumber_ != 0) DrawDesktop();
}

void TrayIcon::DrawDesktop() {
  platform::PixelImage picture = shell_.TrayIconPicture();
  render::DrawDesktopNumber(desktopNumber_, &picture);
  const bool changed = shell_.SetTrayIcon(
      picture, kTipProgramName + lang::ReplaceAll(desktopText_, lang::kDesktopNumberPlaceholder,
                                                  std::to_string(desktopNumber_)));
  // While the taskbar is missing there is no icon to change; the next adding
  // carries the number.
  if (!changed && shown_) {
    log_.Write("tray icon: desktop " + std::to_string(desktopNumber_) + " could not be shown");
  }
}

}  // namespace app
