#include "app/tray_icon.h"

namespace app {

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
  pendingBalloon_ = text;
  ShowPendingBalloon();
}

void TrayIcon::ShowPendingBalloon() {
  if (!shown_ || pendingBalloon_.empty()) return;
  // Once per start, whatever the shell makes of it.
  shell_.ShowTrayBalloon(pendingBalloon_);
  pendingBalloon_.clear();
}

}  // namespace app
