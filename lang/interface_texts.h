#pragma once
// Every translatable caption: its key in the language files, its built-in
// English text and where it goes, in the order they are applied.
#include <array>
#include <variant>

#include "platform/dialogs.h"
#include "platform/tray_menu.h"

namespace lang {

using TextTarget =
    std::variant<platform::TrayItem, platform::SettingsControl, platform::AboutControl>;

struct InterfaceText {
  const char* key;
  const char* defaultText;
  TextTarget target;
};

inline constexpr const char* kLanguageFileExtension = ".lang";

using platform::AboutControl;
using platform::SettingsControl;
using platform::TrayItem;

// "Common.OK" appears twice, once for each dialog's OK button.
inline constexpr std::array<InterfaceText, 18> kInterfaceTexts = {{
    {"Common.OK", "OK", SettingsControl::kOk},
    {"Common.Cancel", "Cancel", SettingsControl::kCancel},
    {"Common.OK", "OK", AboutControl::kOk},
    {"TrayMenu.Settings", "&Settings", TrayItem::kSettings},
    {"TrayMenu.About", "&About...", TrayItem::kAbout},
    {"TrayMenu.Quit", "&Quit", TrayItem::kQuit},
    {"Settings.Caption", "Settings", SettingsControl::kTitle},
    {"Settings.Language", "Language:", SettingsControl::kLanguageLabel},
    {"Settings.Speed", "Speed:", SettingsControl::kSpeedLabel},
    {"Settings.SpeedSlow", "Slow", SettingsControl::kSpeedSlowLabel},
    {"Settings.SpeedFast", "Fast", SettingsControl::kSpeedFastLabel},
    {"Settings.Zoom", "Zoom:", SettingsControl::kZoomLabel},
    {"Settings.ZoomNear", "Near", SettingsControl::kZoomNearLabel},
    {"Settings.ZoomFar", "Far", SettingsControl::kZoomFarLabel},
    {"Settings.Background", "Background:", SettingsControl::kBackgroundLabel},
    {"Settings.TopFace", "Top face:", SettingsControl::kTopFaceLabel},
    {"Settings.BottomFace", "Bottom face:", SettingsControl::kBottomFaceLabel},
    {"About.Caption", "About...", AboutControl::kTitle},
}};

// A text of a message the program shows by itself, looked up when it is
// shown rather than applied to a caption.
struct MessageText {
  const char* key;
  const char* defaultText;
};

// The tray icon's balloon when another program holds a hotkey; "%s" stands
// for the combinations.
inline constexpr const char* kCombinationPlaceholder = "%s";
inline constexpr MessageText kHotkeysTaken = {
    "Hotkeys.Taken",
    "Another program holds %s. Ctrl+Alt with a left-button drag, and the taskbar, still "
    "switch desktops."};

// The tray icon's balloon, once per start, for the first window the program
// is not let move; "%s" stands for its title.
inline constexpr const char* kWindowTitlePlaceholder = "%s";
inline constexpr MessageText kRunAsAdministrator = {
    "Windows.RunAsAdministrator",
    "The window \"%s\" belongs to a program run as administrator, which Windows does not let Rombo "
    "Desktop move. Windows of programs run as administrator stay on every desktop."};

// The tray icon's balloon when the program runs with administrator rights.
inline constexpr MessageText kRunsElevated = {
    "Start.Elevated",
    "Rombo Desktop runs with administrator rights, which it does not need and should not have: "
    "quit it and start it again as yourself."};

// The tray icon's tip after the program's name; "%s" stands for the number
// of the current desktop.
inline constexpr const char* kDesktopNumberPlaceholder = "%s";
inline constexpr MessageText kTrayDesktop = {"TrayIcon.Desktop", "desktop %s"};

}  // namespace lang
