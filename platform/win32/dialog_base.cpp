#include "platform/win32/dialog_base.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <utility>
#include <vector>

#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

constexpr const wchar_t* kTahoma = L"Tahoma";
constexpr int kPointSize = 8;
constexpr int kPointsPerInch = 72;

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontExists(const wchar_t* face) {
  WindowDc screen(nullptr, GetDC(nullptr));
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(screen.get(), &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// Sent, with the new DPI and a suggested window rectangle, to a window of a
// per-monitor aware program that moved to a monitor of another DPI.
constexpr UINT kDpiChanged = 0x02E0;

// Scales a length from one DPI to another.
int Rescaled(int length, int to, int from) { return MulDiv(length, to, from); }

// The class of every dialog the program shows: its own two, the picture
// dialog, an error box. The main window is of another class.
constexpr const wchar_t* kDialogClass = L"#32770";
constexpr int kClassNameBuffer = 16;

BOOL CALLBACK NoteShownDialog(HWND window, LPARAM found) {
  std::array<wchar_t, kClassNameBuffer> name{};
  if (IsWindowVisible(window) &&
      GetClassNameW(window, name.data(), static_cast<int>(name.size())) > 0 &&
      std::wcscmp(name.data(), kDialogClass) == 0) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

// The program's dialogs on the screen.
std::vector<HWND> ShownDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(GetCurrentThreadId(), NoteShownDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Disables the program's other shown dialogs for as long as it lives, and
// then enables again exactly those it disabled.
class OtherDialogsDisabled {
 public:
  explicit OtherDialogsDisabled(HWND modal) {
    for (const HWND dialog : ShownDialogs()) {
      if (dialog == modal || !IsWindowEnabled(dialog)) continue;
      EnableWindow(dialog, FALSE);
      disabled_.push_back(dialog);
    }
  }
  ~OtherDialogsDisabled() {
    for (const HWND dialog : disabled_) {
      if (IsWindow(dialog)) EnableWindow(dialog, TRUE);
    }
  }
  OtherDialogsDisabled(const OtherDialogsDisabled&) = delete;
  OtherDialogsDisabled& operator=(const OtherDialogsDisabled&) = delete;

 private:
  std::vector<HWND> disabled_;
};

}  // namespace

DialogScale::DialogScale() {
  WindowDc screen(nullptr, GetDC(nullptr));
  dpi_ = screen.get() != nullptr ? GetDeviceCaps(screen.get(), LOGPIXELSY) : kDesignDpi;
  if (dpi_ <= 0) dpi_ = kDesignDpi;
}

LOGFONTW DialogFonts::Chosen(int dpi) {
  LOGFONTW font{};
  if (FontExists(kTahoma)) {
    font.lfHeight = -MulDiv(kPointSize, dpi, kPointsPerInch);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    wcsncpy(font.lfFaceName, kTahoma, LF_FACESIZE - 1);
    return font;
  }
  // Sized for the system's DPI, and so scaled from it.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  metrics.lfMessageFont.lfHeight =
      Rescaled(metrics.lfMessageFont.lfHeight, dpi, DialogScale().dpi());
  return metrics.lfMessageFont;
}

HFONT DialogFonts::Make(LOGFONTW font, LONG weight, BYTE underline) {
  font.lfWeight = weight;
  font.lfUnderline = underline;
  return CreateFontIndirectW(&font);
}

DialogFonts::DialogFonts(int dpi) : DialogFonts(Chosen(dpi)) {}

DialogFonts::DialogFonts(const LOGFONTW& font)
    : plain_(Make(font, font.lfWeight, FALSE)),
      bold_(Make(font, FW_BOLD, FALSE)),
      underlined_(Make(font, font.lfWeight, TRUE)) {}

DialogBase* DialogBase::creating_ = nullptr;

DialogBase::DialogBase(ErrorHandler onError) : fonts_(scale_.dpi()), onError_(std::move(onError)) {}

DialogBase::~DialogBase() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void DialogBase::Create(DWORD style, DWORD exStyle) {
  // An empty template: no controls, no menu, the standard dialog class, no
  // title. The controls are added in pixels afterwards.
  std::array<WORD, 12> empty{};
  empty[0] = LOWORD(style);
  empty[1] = HIWORD(style);
  empty[2] = LOWORD(exStyle);
  empty[3] = HIWORD(exStyle);
  creating_ = this;
  window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                       reinterpret_cast<LPCDLGTEMPLATEW>(empty.data()), nullptr,
                                       Procedure, 0);
  creating_ = nullptr;
}

HWND DialogBase::AddControl(const ControlSpec& spec, HFONT font) {
  const HWND control = CreateWindowExW(
      spec.exStyle, spec.className, Widen(spec.caption, kCaptionCodePage).c_str(),
      WS_CHILD | WS_VISIBLE | spec.style, scale_(spec.left), scale_(spec.top), scale_(spec.width),
      scale_(spec.height), window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
      GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const DWORD kind = spec.style & SS_TYPEMASK;
  if (std::wcscmp(spec.className, WC_STATICW) == 0 &&
      (kind == SS_LEFT || kind == SS_RIGHT || kind == SS_CENTER)) {
    labels_[control] =
        RECT{scale_(spec.left), scale_(spec.top), scale_(spec.left) + scale_(spec.width),
             scale_(spec.top) + scale_(spec.height)};
    FitLabel(control);
  }
  return control;
}

void DialogBase::FitLabel(HWND label) {
  const auto designed = labels_.find(label);
  if (designed == labels_.end()) return;
  const std::wstring text = [label] {
    std::wstring buffer(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    buffer.resize(static_cast<std::size_t>(
        GetWindowTextW(label, buffer.data(), static_cast<int>(buffer.size()))));
    return buffer;
  }();
  WindowDc dc(label, GetDC(label));
  Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
  const LONG style = GetWindowLongW(label, GWL_STYLE);
  RECT needed{0, 0, 0, 0};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
            DT_CALCRECT | DT_SINGLELINE | ((style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0));
  RECT place = designed->second;
  const LONG width = std::max(place.right - place.left, needed.right);
  if ((style & SS_TYPEMASK) == SS_RIGHT) {
    place.left = std::max<LONG>(0, place.right - width);
  } else {
    place.right = place.left + width;
  }
  SetWindowPos(label, nullptr, place.left, place.top, place.right - place.left,
               place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogBase::ChangeDpi(int dpi, const RECT& suggested) {
  const int from = scale_.dpi();
  scale_ = DialogScale(dpi);
  const int to = scale_.dpi();
  DialogFonts fonts(to);
  const auto counterpart = [&](HFONT font) {
    return font == fonts_.bold()         ? fonts.bold()
           : font == fonts_.underlined() ? fonts.underlined()
                                         : fonts.plain();
  };
  for (HWND control = GetWindow(window_, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(counterpart(font)), FALSE);
    SetWindowPos(control, nullptr, Rescaled(place.left, to, from), Rescaled(place.top, to, from),
                 Rescaled(place.right - place.left, to, from),
                 Rescaled(place.bottom - place.top, to, from), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The old fonts go only once no control uses them.
  fonts_ = std::move(fonts);
  for (auto& [label, designed] : labels_) {
    designed = RECT{Rescaled(designed.left, to, from), Rescaled(designed.top, to, from),
                    Rescaled(designed.right, to, from), Rescaled(designed.bottom, to, from)};
    FitLabel(label);
  }
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, TRUE);
}

void DialogBase::Place(int left, int top, int width, int height, bool clientSize) {
  RECT frame{0, 0, scale_(width), scale_(height)};
  if (clientSize) {
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  }
  SetWindowPos(window_, nullptr, scale_(left), scale_(top), frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogBase::SetCaptionOf(HWND control, const std::string& windows1252) {
  SetWindowTextW(control, Widen(windows1252, kCaptionCodePage).c_str());
  FitLabel(control);
}

ModalResult DialogBase::RunModal() {
  if (running_ || window_ == nullptr) return ModalResult::kCancel;
  running_ = true;
  result_ = ModalResult::kCancel;
  {
    const OtherDialogsDisabled others(window_);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    const HWND first = GetNextDlgTabItem(window_, nullptr, FALSE);
    if (first != nullptr) SetFocus(first);

    MSG message;
    while (running_) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        // The program is quitting: the outer loop must see that too.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (got < 0) break;
      if (!IsDialogMessageW(window_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    // The others are enabled again before this one hides, so that the one
    // beneath it becomes active once it has gone.
  }
  running_ = false;
  ShowWindow(window_, SW_HIDE);
  return result_;
}

void DialogBase::EndModal(ModalResult result) {
  result_ = result;
  running_ = false;
}

bool DialogBase::Showing() const { return window_ != nullptr && IsWindowVisible(window_); }

void DialogBase::ToFront() {
  if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
  BringWindowToTop(window_);
  HWND front = window_;
  if (!IsWindowEnabled(window_)) {
    // Only the dialog that runs over all others is enabled.
    for (const HWND dialog : ShownDialogs()) {
      if (IsWindowEnabled(dialog)) {
        front = dialog;
        break;
      }
    }
    BringWindowToTop(front);
  }
  SetForegroundWindow(front);
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // Taken from the creation under way, never from the message: any
    // program of the user can send a WM_INITDIALOG with a pointer of its
    // choosing, and the dialog keeps the object it was made for.
    if (creating_ != nullptr && GetWindowLongPtrW(window, DWLP_USER) == 0) {
      SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(creating_));
    }
    return FALSE;
  }
  auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  return self->Handle(message, wParam, lParam);
}

INT_PTR DialogBase::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    INT_PTR result = FALSE;
    if (OnMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
      case WM_COMMAND:
        // Enter and the OK button; Esc and the Cancel button.
        if (LOWORD(wParam) == IDOK) {
          EndModal(ModalResult::kOk);
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          EndModal(ModalResult::kCancel);
          return TRUE;
        }
        return FALSE;
      case WM_CLOSE:
        EndModal(ModalResult::kCancel);
        return TRUE;
      case kDpiChanged:
        // Handled here, so the dialog manager's own scaling, which would
        // give every control the dialog's font, does not run.
        ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
      default:
        return FALSE;
    }
  } catch (const std::exception& error) {
    if (onError_) onError_(error);
    return TRUE;
  }
}

}  // namespace platform::win32
