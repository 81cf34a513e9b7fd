#include "platform/win32/tray_menu.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

UINT CommandOf(TrayItem item) {
  switch (item) {
    case TrayItem::kSettings:
      return kCommandSettings;
    case TrayItem::kAbout:
      return kCommandAbout;
    case TrayItem::kQuit:
      return kCommandQuit;
  }
  return 0;
}

}  // namespace

Win32TrayMenu::Win32TrayMenu() : menu_(CreatePopupMenu()) {
  // The captions are set before the menu is first shown.
  AppendMenuW(menu_, MF_STRING, kCommandSettings, L"&Settings");
  AppendMenuW(menu_, MF_STRING, kCommandAbout, L"&About...");
  AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu_, MF_STRING, kCommandQuit, L"&Quit");
  SetMenuDefaultItem(menu_, kCommandSettings, FALSE);
}

Win32TrayMenu::~Win32TrayMenu() {
  if (menu_ != nullptr) DestroyMenu(menu_);
}

void Win32TrayMenu::SetItemText(TrayItem item, const std::string& text) {
  std::wstring wide = Widen(text, kCaptionCodePage);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = wide.data();
  SetMenuItemInfoW(menu_, CommandOf(item), FALSE, &info);
}

TrayChoice Win32TrayMenu::Popup(WindowHandle owner, Point at) {
  const HWND window = ToHwnd(owner);
  // The menu closes when the user clicks elsewhere only if its owner is the
  // foreground window, and the message after it lets the menu go for good.
  SetForegroundWindow(window);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  switch (chosen) {
    case kCommandSettings:
      return TrayChoice::kSettings;
    case kCommandAbout:
      return TrayChoice::kAbout;
    case kCommandQuit:
      return TrayChoice::kQuit;
    default:
      return TrayChoice::kNone;
  }
}

}  // namespace platform::win32
