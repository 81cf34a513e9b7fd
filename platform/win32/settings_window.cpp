#include "platform/win32/settings_window.h"

#include <commctrl.h>

#include <array>

#include "platform/win32/text.h"
#include "settings/track_values.h"

namespace platform::win32 {

namespace {

// The window: a fixed single border and only the close box.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
// Its own taskbar button, so it cannot get lost behind other windows: the
// program has no other window on the taskbar.
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
constexpr int kLeft = 360, kTop = 210, kClientWidth = 345, kClientHeight = 313;
constexpr const char* kInitialTitle = "Rombo Desktop";

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kRightLabel = SS_RIGHT;
constexpr DWORD kTrack = WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH;
constexpr DWORD kEdit = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheck = WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kDefaultButton = WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
// A drop-down list's height includes its opened list.
constexpr int kListDropHeight = 160;
constexpr int kInitialSpeedPosition = 70;
constexpr int kInitialZoomPosition = 20;
constexpr int kTicksAtTheEndsOnly = 99999;
constexpr int kThumbLength = 15;
constexpr int kLineStep = 1;

enum Label : int {
  kLabelLanguage = kIdFirstLabel,
  kLabelSpeed,
  kLabelSlow,
  kLabelFast,
  kLabelZoom,
  kLabelNear,
  kLabelFar,
  kLabelBackground,
  kLabelTopFace,
  kLabelBottomFace,
};

// In z-order, which is the tab order for the tab stops; each label stands
// just before the control its accelerator leads to.
const std::array<ControlSpec, 24> kControls = {{
    {WC_STATICW, kLabelZoom, 8, 107, 81, 13, kRightLabel, 0, "Zoom:"},
    {TRACKBAR_CLASSW, kIdZoom, 96, 104, 241, 25, kTrack, 0, ""},
    {WC_STATICW, kLabelNear, 104, 128, 89, 13, kLabel, 0, "Cerca"},
    {WC_STATICW, kLabelFar, 256, 128, 73, 13, kRightLabel, 0, "Lejos"},
    {WC_EDITW, kIdBackgroundPath, 128, 160, 169, 21, kEdit, WS_EX_CLIENTEDGE, ""},
    {WC_BUTTONW, kIdBrowseBackground, 304, 160, 25, 21, kButton, 0, "..."},
    {WC_BUTTONW, kIdBrowseTopFace, 304, 200, 25, 21, kButton, 0, "..."},
    {WC_EDITW, kIdTopFacePath, 128, 200, 169, 21, kEdit, WS_EX_CLIENTEDGE, ""},
    {WC_BUTTONW, kIdBrowseBottomFace, 304, 232, 25, 21, kButton, 0, "..."},
    {WC_EDITW, kIdBottomFacePath, 128, 232, 169, 21, kEdit, WS_EX_CLIENTEDGE, ""},
    {WC_BUTTONW, kIdOk, 152, 272, 81, 25, kDefaultButton, 0, "Aceptar"},
    {WC_BUTTONW, kIdCancel, 248, 272, 81, 25, kButton, 0, "Cancelar"},
    {WC_STATICW, kLabelLanguage, 8, 19, 81, 13, kRightLabel, 0, "Idioma:"},
    {WC_COMBOBOXW, kIdLanguage, 104, 16, 225, 21 + kListDropHeight, kList, 0, ""},
    {WC_STATICW, kLabelSpeed, 8, 59, 81, 13, kRightLabel, 0, "Velocidad:"},
    {TRACKBAR_CLASSW, kIdSpeed, 96, 56, 241, 25, kTrack, 0, ""},
    {WC_STATICW, kLabelSlow, 104, 80, 89, 13, kLabel, 0, "Lento"},
    {WC_STATICW, kLabelFast, 256, 80, 73, 13, kRightLabel, 0, "R\xE1pido"},
    {WC_STATICW, kLabelBackground, 8, 163, 81, 13, kRightLabel, 0, "Fondo:"},
    {WC_BUTTONW, kIdBackgroundCheck, 104, 160, 17, 21, kCheck, 0, ""},
    {WC_STATICW, kLabelTopFace, 8, 203, 81, 13, kRightLabel, 0, "Tapa superior:"},
    {WC_BUTTONW, kIdTopFaceCheck, 104, 200, 17, 21, kCheck, 0, ""},
    {WC_STATICW, kLabelBottomFace, 8, 235, 81, 13, kRightLabel, 0, "Tapa inferior:"},
    {WC_BUTTONW, kIdBottomFaceCheck, 104, 232, 17, 21, kCheck, 0, ""},
}};

struct RowIds {
  PictureRow row;
  int check;
  int path;
  int browse;
};

constexpr std::array<RowIds, 3> kRows = {{
    {PictureRow::kBackground, kIdBackgroundCheck, kIdBackgroundPath, kIdBrowseBackground},
    {PictureRow::kTopFace, kIdTopFaceCheck, kIdTopFacePath, kIdBrowseTopFace},
    {PictureRow::kBottomFace, kIdBottomFaceCheck, kIdBottomFacePath, kIdBrowseBottomFace},
}};

const RowIds& IdsOf(PictureRow row) {
  for (const RowIds& ids : kRows) {
    if (ids.row == row) return ids;
  }
  return kRows.front();
}

}  // namespace

Win32SettingsWindow::Win32SettingsWindow(HICON icon, ErrorHandler onError)
    : DialogBase(std::move(onError)),
      captionIds_{
          {SettingsControl::kOk, kIdOk},
          {SettingsControl::kCancel, kIdCancel},
          {SettingsControl::kLanguageLabel, kLabelLanguage},
          {SettingsControl::kSpeedLabel, kLabelSpeed},
          {SettingsControl::kSpeedSlowLabel, kLabelSlow},
          {SettingsControl::kSpeedFastLabel, kLabelFast},
          {SettingsControl::kZoomLabel, kLabelZoom},
          {SettingsControl::kZoomNearLabel, kLabelNear},
          {SettingsControl::kZoomFarLabel, kLabelFar},
          {SettingsControl::kBackgroundLabel, kLabelBackground},
          {SettingsControl::kTopFaceLabel, kLabelTopFace},
          {SettingsControl::kBottomFaceLabel, kLabelBottomFace},
      } {
  Create(kStyle, kExStyle);
  SetCaptionOf(hwnd(), kInitialTitle);
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  for (const ControlSpec& spec : kControls) AddControl(spec, fonts_.plain());
  SetUpTrack(TrackBar::kSpeed, settings::kSpeedRange.min, settings::kSpeedRange.max,
             kInitialSpeedPosition);
  SetUpTrack(TrackBar::kZoom, settings::kZoomRange.min, settings::kZoomRange.max,
             kInitialZoomPosition);
  SendMessageW(hwnd(), DM_SETDEFID, kIdOk, 0);
  Place(kLeft, kTop, kClientWidth, kClientHeight, /*clientSize=*/true);
}

HWND Win32SettingsWindow::Track(TrackBar bar) const {
  return Item(bar == TrackBar::kSpeed ? kIdSpeed : kIdZoom);
}

void Win32SettingsWindow::SetUpTrack(TrackBar bar, int min, int max, int position) {
  const HWND track = Track(bar);
  SendMessageW(track, TBM_SETRANGEMIN, FALSE, min);
  SendMessageW(track, TBM_SETRANGEMAX, FALSE, max);
  SendMessageW(track, TBM_SETTICFREQ, kTicksAtTheEndsOnly, 0);
  SendMessageW(track, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(scale_(kThumbLength)), 0);
  SendMessageW(track, TBM_SETLINESIZE, 0, kLineStep);
  SendMessageW(track, TBM_SETPAGESIZE, 0, settings::kTrackPageStep);
  SendMessageW(track, TBM_SETPOS, TRUE, position);
}

void Win32SettingsWindow::SetCaption(SettingsControl control, const std::string& text) {
  SetCaptionById(captionIds_, SettingsControl::kTitle, control, text);
}

void Win32SettingsWindow::AddLanguage(const std::string& name) {
  SendMessageW(Item(kIdLanguage), CB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(Widen(name, CP_ACP).c_str()));
}

void Win32SettingsWindow::SelectLanguage(int index) {
  SendMessageW(Item(kIdLanguage), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32SettingsWindow::SelectedLanguage() {
  const LRESULT selected = SendMessageW(Item(kIdLanguage), CB_GETCURSEL, 0, 0);
  return selected == CB_ERR ? -1 : static_cast<int>(selected);
}

void Win32SettingsWindow::SetTrackPosition(TrackBar bar, int position) {
  SendMessageW(Track(bar), TBM_SETPOS, TRUE, position);
}

int Win32SettingsWindow::TrackPosition(TrackBar bar) {
  return static_cast<int>(SendMessageW(Track(bar), TBM_GETPOS, 0, 0));
}

void Win32SettingsWindow::SetPathText(PictureRow row, const std::string& text) {
  updating_ = true;
  SetWindowTextW(Item(IdsOf(row).path), Widen(text, CP_ACP).c_str());
  updating_ = false;
}

std::string Win32SettingsWindow::PathText(PictureRow row) {
  return WindowTextAnsi(Item(IdsOf(row).path));
}

void Win32SettingsWindow::SetChecked(PictureRow row, bool checked) {
  SendMessageW(Item(IdsOf(row).check), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32SettingsWindow::IsChecked(PictureRow row) {
  return SendMessageW(Item(IdsOf(row).check), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Win32SettingsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) {
  if (message != WM_COMMAND || events_ == nullptr) return false;
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  for (const RowIds& ids : kRows) {
    if (id == ids.path && code == EN_CHANGE && !updating_) {
      events_->PathEdited(ids.row);
    } else if (id == ids.check && code == BN_CLICKED) {
      events_->CheckClicked(ids.row);
    } else if (id == ids.browse && code == BN_CLICKED) {
      events_->BrowseClicked(ids.row);
    } else {
      continue;
    }
    *result = TRUE;
    return true;
  }
  return false;
}

}  // namespace platform::win32
