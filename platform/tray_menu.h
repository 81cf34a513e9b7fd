#pragma once
// The tray icon's popup menu: three commands and a separator, the settings
// command drawn in bold as the default.
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace platform {

// Mouse messages the tray icon reports, numbered as the window manager
// numbers them.
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLeftButtonUp = 0x0202;
constexpr std::uint32_t kLeftButtonDoubleClick = 0x0203;
constexpr std::uint32_t kRightButtonUp = 0x0205;

enum class TrayItem { kSettings, kAbout, kQuit };

// What the user picked; kNone when the menu was dismissed.
enum class TrayChoice { kNone, kSettings, kAbout, kQuit };

class TrayMenu {
 public:
  virtual ~TrayMenu() = default;
  // "&" marks the keyboard accelerator, "&&" shows one ampersand.
  virtual void SetItemText(TrayItem item, const std::string& text) = 0;
  // Shows the menu at a screen point and returns once it has closed.
  virtual TrayChoice Popup(WindowHandle owner, Point at) = 0;
};

}  // namespace platform
