// The system-wide hotkeys: registering them, what each one does, and the one
// balloon of a start that tells the user which of them another program
// holds.
#include <array>

#include "app/Unit1.h"
#include "desktops/layout.h"
#include "lang/lang_text.h"

namespace app {

namespace {

struct Hotkey {
  int id;
  std::uint32_t modifiers;
  std::uint32_t key;
  // As written on the keys, the same in every language.
  const char* combination;
};

constexpr std::uint32_t kModAltControlShift = kModAltControl | kModShift;
constexpr std::array<Hotkey, 8> kHotkeys = {{
    {kHotkeyLeft, kModAltControl, kVkLeft, "Ctrl+Alt+Left"},
    {kHotkeyRight, kModAltControl, kVkRight, "Ctrl+Alt+Right"},
    {kHotkeyGoTo1, kModAltControl, kVkF1, "Ctrl+Alt+F1"},
    {kHotkeyGoTo1 + 1, kModAltControl, kVkF1 + 1, "Ctrl+Alt+F2"},
    {kHotkeyGoTo1 + 2, kModAltControl, kVkF1 + 2, "Ctrl+Alt+F3"},
    {kHotkeyGoTo1 + 3, kModAltControl, kVkF1 + 3, "Ctrl+Alt+F4"},
    {kHotkeyCarryLeft, kModAltControlShift, kVkLeft, "Ctrl+Alt+Shift+Left"},
    {kHotkeyCarryRight, kModAltControlShift, kVkRight, "Ctrl+Alt+Shift+Right"},
}};

constexpr const char* kCombinationSeparator = ", ";

}  // namespace

void TForm1::RegisterHotkeys() {
  const platform::WindowHandle self = system_.mainWindow.Handle();
  std::string taken;
  for (const Hotkey& hotkey : kHotkeys) {
    if (system_.shell.RegisterHotKey(self, hotkey.id, hotkey.modifiers, hotkey.key)) continue;
    if (!taken.empty()) taken += kCombinationSeparator;
    taken += hotkey.combination;
  }
  if (taken.empty()) return;
  system_.log.Write("hotkeys held by another program: " + taken);
  trayIcon_.ShowBalloon(
      lang::ReplaceAll(MessageText(lang::kHotkeysTaken), lang::kCombinationPlaceholder, taken));
}

void TForm1::UnregisterHotkeys() {
  const platform::WindowHandle self = system_.mainWindow.Handle();
  for (const Hotkey& hotkey : kHotkeys) system_.shell.UnregisterHotKey(self, hotkey.id);
}

void TForm1::WMHotKey(int id) {
  switch (id) {
    case kHotkeyLeft:
    case kHotkeyRight:
      BeginTurn(id == kHotkeyLeft ? -1 : 1);
      return;
    case kHotkeyCarryLeft:
    case kHotkeyCarryRight:
      TurnCarrying(id == kHotkeyCarryLeft ? -1 : 1);
      return;
    default:
      if (id >= kHotkeyGoTo1 && id < kHotkeyGoTo1 + desktops::kDesktopCount) {
        GoToDesktop(id - kHotkeyGoTo1);
      }
      return;
  }
}

void TForm1::GoToDesktop(std::int32_t desktop) {
  // During a session the current desktop is the one being turned to.
  if (desktop == motion_.CurrentDesktop()) return;
  // A turn by no face opens the session (with its first tick) when none is
  // on the screen; the new target then replaces whatever was aimed at.
  BeginTurn(0);
  motion_.TurnTo(desktop);
}

void TForm1::TurnCarrying(int faces) {
  const bool opening = !system_.mainWindow.IsVisible();
  // Once the cube is on the screen it has the foreground; the window the
  // user had active before it is the last one recorded. A window taken by
  // an earlier press of the session stays taken.
  const platform::WindowHandle active = opening ? system_.windows.Foreground() : lastForeground;
  BeginTurn(faces);
  if (opening || !parking_.Carrying()) parking_.CarryAlong(active);
}

}  // namespace app
