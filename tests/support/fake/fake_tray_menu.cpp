#include "tests/support/fake/fake_tray_menu.h"

namespace platform {

TrayChoice FakeTrayMenu::Popup(WindowHandle owner, Point at) {
  lastOwner = owner;
  popups.push_back(at);
  if (whileOpen) whileOpen();
  return choice;
}

}  // namespace platform
