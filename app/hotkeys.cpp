// The system-wide hotkeys: registering them, and the one balloon of a start
// that tells the user which of them another program holds.
#include "app/Unit1.h"
#include "lang/lang_text.h"

namespace app {

namespace {
// The combinations as written on the keys, the same in every language.
constexpr const char* kLeftCombination = "Ctrl+Alt+Left";
constexpr const char* kRightCombination = "Ctrl+Alt+Right";
constexpr const char* kCombinationSeparator = ", ";
}  // namespace

void TForm1::ReportTakenHotkeys(bool leftTaken, bool rightTaken) {
  std::string combinations = leftTaken ? kLeftCombination : "";
  if (rightTaken) {
    if (!combinations.empty()) combinations += kCombinationSeparator;
    combinations += kRightCombination;
  }
  trayIcon_.ShowBalloon(lang::ReplaceAll(MessageText(lang::kHotkeysTaken),
                                         lang::kCombinationPlaceholder, combinations));
}

}  // namespace app
