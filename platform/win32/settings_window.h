#pragma once
// The settings dialog's window: standard controls at their designed places,
// in the designed tab order, Enter for OK and Esc for Cancel.
#include <windows.h>

#include <array>
#include <map>

#include "platform/dialogs.h"
#include "platform/win32/dialog_base.h"

namespace platform::win32 {

// Control identifiers, for the keyboard's OK and Cancel and for tools that
// look at the dialog from outside. Tab stops are numbered in tab order.
enum SettingsControlId : int {
  kIdZoom = 1000,
  kIdBackgroundPath = 1001,
  kIdBrowseBackground = 1002,
  kIdBrowseTopFace = 1003,
  kIdTopFacePath = 1004,
  kIdBrowseBottomFace = 1005,
  kIdBottomFacePath = 1006,
  kIdOk = IDOK,
  kIdCancel = IDCANCEL,
  kIdLanguage = 1009,
  kIdSpeed = 1010,
  kIdBackgroundCheck = 1011,
  kIdTopFaceCheck = 1012,
  kIdBottomFaceCheck = 1013,
  kIdFirstLabel = 1100,
};

class Win32SettingsWindow : public SettingsWindow, private DialogBase {
 public:
  Win32SettingsWindow(HICON icon, ErrorHandler onError);

  using DialogBase::hwnd;
  void SetEvents(SettingsEvents* events) override { events_ = events; }
  void SetCaption(SettingsControl control, const std::string& text) override;
  void AddLanguage(const std::string& name) override;
  void SelectLanguage(int index) override;
  int SelectedLanguage() override;
  void SetTrackPosition(TrackBar bar, int position) override;
  int TrackPosition(TrackBar bar) override;
  void SetPathText(PictureRow row, const std::string& text) override;
  std::string PathText(PictureRow row) override;
  void SetChecked(PictureRow row, bool checked) override;
  bool IsChecked(PictureRow row) override;
  ModalResult ShowModal() override { return RunModal(); }
  bool IsShowing() override { return Showing(); }
  void BringToFront() override { ToFront(); }

 private:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  HWND Track(TrackBar bar) const;
  void SetUpTrack(TrackBar bar, int min, int max, int position);

  SettingsEvents* events_ = nullptr;
  // True while the program itself changes an edit, whose change the user
  // did not make.
  bool updating_ = false;
  std::map<SettingsControl, int> captionIds_;
};

}  // namespace platform::win32
