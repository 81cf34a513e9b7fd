#pragma once
// The tray menu in memory: item texts as last set, and a scripted choice.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/tray_menu.h"

namespace platform {

class FakeTrayMenu : public TrayMenu {
 public:
  void SetItemText(TrayItem item, const std::string& text) override { texts[item] = text; }
  TrayChoice Popup(WindowHandle owner, Point at) override;

  std::map<TrayItem, std::string> texts;
  // What the user picks; runs while the menu is open when set.
  TrayChoice choice = TrayChoice::kNone;
  std::function<void()> whileOpen;
  // Where each popup was shown.
  std::vector<Point> popups;
  WindowHandle lastOwner = kNoWindow;
};

}  // namespace platform
