#include "platform/win32/about_window.h"

#include <commctrl.h>

#include <array>

namespace platform::win32 {

namespace {

// An ordinary resizable window with the system menu and both boxes.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                         WS_MAXIMIZEBOX | DS_3DLOOK;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
constexpr int kLeft = 379, kTop = 261, kWidth = 273, kHeight = 203;
constexpr const char* kInitialTitle = "Acerca de...";
constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr int kEmblemSide = 16;

// Texts of labels are shown as they are: an "&" in an address is no
// accelerator.
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;

enum class Font { kPlain, kBold, kLink };

struct AboutSpec {
  ControlSpec control;
  Font font;
};

// The OK button comes first: it is the first (and only) tab stop.
const std::array<AboutSpec, 7> kControls = {{
    {{WC_BUTTONW, kIdAboutOk, 168, 136, 81, 25, WS_TABSTOP | BS_PUSHBUTTON, 0, "Aceptar"},
     Font::kPlain},
    {{WC_STATICW, kIdAboutEmblem, 16, 16, kEmblemSide, kEmblemSide, SS_ICON | SS_REALSIZEIMAGE, 0,
      ""},
     Font::kPlain},
    {{WC_STATICW, kIdAboutProduct, 40, 16, 81, 13, kLabel, 0, ""}, Font::kBold},
    {{WC_STATICW, kIdAboutRights1, 16, 40, 167, 13, kLabel, 0, ""}, Font::kPlain},
    {{WC_STATICW, kIdAboutRights2, 16, 56, 91, 13, kLabel, 0, ""}, Font::kPlain},
    {{WC_STATICW, kIdAboutVersion, 16, 80, 201, 13, kLabel, 0, ""}, Font::kPlain},
    {{WC_STATICW, kIdAboutAddress, 16, 104, 234, 13, kLabel | SS_NOTIFY, 0, ""}, Font::kLink},
}};

}  // namespace

Win32AboutWindow::Win32AboutWindow(HICON emblem, ErrorHandler onError)
    : DialogBase(std::move(onError)),
      captionIds_{
          {AboutControl::kOk, kIdAboutOk},
          {AboutControl::kProduct, kIdAboutProduct},
          {AboutControl::kRightsLine1, kIdAboutRights1},
          {AboutControl::kRightsLine2, kIdAboutRights2},
          {AboutControl::kVersion, kIdAboutVersion},
          {AboutControl::kAddress, kIdAboutAddress},
      } {
  Create(kStyle, kExStyle);
  SetCaptionOf(hwnd(), kInitialTitle);
  for (const AboutSpec& spec : kControls) {
    const HFONT font = spec.font == Font::kBold   ? fonts_.bold()
                       : spec.font == Font::kLink ? fonts_.underlined()
                                                  : fonts_.plain();
    AddControl(spec.control, font);
  }
  SendDlgItemMessageW(hwnd(), kIdAboutEmblem, STM_SETICON, reinterpret_cast<WPARAM>(emblem), 0);
  Place(kLeft, kTop, kWidth, kHeight, /*clientSize=*/false);
}

void Win32AboutWindow::SetCaption(AboutControl control, const std::string& text) {
  SetCaptionById(captionIds_, AboutControl::kTitle, control, text);
}

bool Win32AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  const HWND address = GetDlgItem(hwnd(), kIdAboutAddress);
  switch (message) {
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) != address) return false;
      SetTextColor(reinterpret_cast<HDC>(wParam), kLinkColour);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *result = reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != address) return false;
      SetCursor(LoadCursor(nullptr, IDC_HAND));
      SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
      *result = TRUE;
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) != kIdAboutAddress || HIWORD(wParam) != STN_CLICKED) return false;
      if (events_ != nullptr) events_->AddressClicked();
      *result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace platform::win32
