#pragma once
// The about dialog's window: the emblem, the product in bold, the rights
// notice, the version, the web address as a link, and the OK button.
#include <windows.h>

#include <map>

#include "platform/dialogs.h"
#include "platform/win32/dialog_base.h"

namespace platform::win32 {

enum AboutControlId : int {
  kIdAboutOk = IDOK,
  kIdAboutEmblem = 1200,
  kIdAboutProduct,
  kIdAboutRights1,
  kIdAboutRights2,
  kIdAboutVersion,
  kIdAboutAddress,
};

class Win32AboutWindow : public AboutWindow, private DialogBase {
 public:
  Win32AboutWindow(HICON emblem, ErrorHandler onError);

  using DialogBase::hwnd;
  void SetEvents(AboutEvents* events) override { events_ = events; }
  void SetCaption(AboutControl control, const std::string& text) override;
  ModalResult ShowModal() override { return RunModal(); }
  bool IsShowing() override { return Showing(); }
  void BringToFront() override { ToFront(); }

 private:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

  AboutEvents* events_ = nullptr;
  std::map<AboutControl, int> captionIds_;
};

}  // namespace platform::win32
