// The tray icon beyond its first adding: tried again while the taskbar is
// missing and added again when the shell restarts, and the one balloon of a
// start that tells the user which hotkeys another program holds.
#include "app/Unit1.h"
#include "lang/lang_text.h"
#include "lang/unitLangFile.h"

namespace app {

namespace {
// The combinations as written on the keys, the same in every language.
constexpr const char* kLeftCombination = "Ctrl+Alt+Left";
constexpr const char* kRightCombination = "Ctrl+Alt+Right";
constexpr const char* kCombinationSeparator = ", ";
// Two notices of one start share a balloon, one to a line.
constexpr const char* kBalloonSeparator = "\n";
}  // namespace

void TForm1::ShowTrayIcon() {
  trayIconShown = system_.shell.AddTrayIcon(system_.mainWindow.Handle());
  trayRetryClock = system_.clock.TickCount();
  ShowPendingBalloon();
}

void TForm1::RetryTrayIcon() {
  if (trayIconShown) return;
  // Unsigned, so a wrap of the tick count changes nothing.
  if (static_cast<std::uint32_t>(system_.clock.TickCount() - trayRetryClock) < kTrayRetryMs) {
    return;
  }
  ShowTrayIcon();
}

void TForm1::WMTaskbarCreated() { ShowTrayIcon(); }

void TForm1::ShowPendingBalloon() {
  if (!trayIconShown || pendingBalloon.empty()) return;
  // Once per start, whatever the shell makes of it.
  system_.shell.ShowTrayBalloon(pendingBalloon);
  pendingBalloon.clear();
}

void TForm1::ReportTakenHotkeys(bool leftTaken, bool rightTaken) {
  std::string combinations = leftTaken ? kLeftCombination : "";
  if (rightTaken) {
    if (!combinations.empty()) combinations += kCombinationSeparator;
    combinations += kRightCombination;
  }
  QueueBalloon(lang::ReplaceAll(MessageText(lang::kHotkeysTaken), lang::kCombinationPlaceholder,
                                combinations));
}

void TForm1::ReportElevated() {
  system_.log.Write("Runs with administrator rights; it should not");
  QueueBalloon(MessageText(lang::kRunsElevated));
}

void TForm1::QueueBalloon(const std::string& text) {
  if (!pendingBalloon.empty()) pendingBalloon += kBalloonSeparator;
  pendingBalloon += text;
  ShowPendingBalloon();
}

std::string TForm1::MessageText(const lang::MessageText& text) {
  try {
    return LanguageTable(settings.languageName).Lookup(text.key, text.defaultText);
  } catch (const lang::LangFileError&) {
    // At start-up nobody may be shown an error box for it; the tray icon
    // reports an unreadable file as soon as the user points at it.
    return text.defaultText;
  }
}

}  // namespace app
