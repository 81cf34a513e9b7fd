#pragma once
#include <windows.h>

#include "platform/tray_menu.h"

namespace platform::win32 {

// Command identifiers of the menu's items.
enum TrayCommand : UINT { kCommandSettings = 1, kCommandAbout = 2, kCommandQuit = 3 };

// The popup menu, made once: Settings (the default, in bold), About, a
// separator, Quit.
class Win32TrayMenu : public TrayMenu {
 public:
  Win32TrayMenu();
  ~Win32TrayMenu() override;
  Win32TrayMenu(const Win32TrayMenu&) = delete;
  Win32TrayMenu& operator=(const Win32TrayMenu&) = delete;

  void SetItemText(TrayItem item, const std::string& text) override;
  TrayChoice Popup(WindowHandle owner, Point at) override;

 private:
  HMENU menu_;
};

}  // namespace platform::win32
