#pragma once
// What the program's two dialogs share: an empty dialog made in memory and
// filled with standard controls at their designed pixel positions (96 DPI,
// scaled to the system's DPI), the dialog font, and a modal run that keeps
// every other window of the thread served (the tray icon, the timer).
//
// The dialogs belong to no window: the main window is the cube, topmost
// while it is shown, and what it owned would float above every program and
// above the cube itself. A modal run disables the program's other dialogs
// instead, as a modal dialog does its owner.
#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <string>

#include "platform/dialogs.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

// Where errors of the user's commands in a dialog go (the application's
// error box): nothing may be thrown back into the window manager.
using ErrorHandler = std::function<void(const std::exception&)>;

// Designed pixels at 96 DPI, scaled to the system's DPI, or to the DPI of
// the monitor a dialog moved to.
class DialogScale {
 public:
  static constexpr int kDesignDpi = 96;
  DialogScale();
  explicit DialogScale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}
  int operator()(int designed) const { return MulDiv(designed, dpi_, kDesignDpi); }
  int dpi() const { return dpi_; }

 private:
  int dpi_;
};

// Tahoma 8 pt at the system's DPI, or the system's message font where there
// is no Tahoma; plain, bold and underlined.
class DialogFonts {
 public:
  explicit DialogFonts(int dpi);
  HFONT plain() const { return static_cast<HFONT>(plain_.get()); }
  HFONT bold() const { return static_cast<HFONT>(bold_.get()); }
  HFONT underlined() const { return static_cast<HFONT>(underlined_.get()); }

 private:
  explicit DialogFonts(const LOGFONTW& font);
  static LOGFONTW Chosen(int dpi);
  static HFONT Make(LOGFONTW font, LONG weight, BYTE underline);
  GdiObject plain_;
  GdiObject bold_;
  GdiObject underlined_;
};

// One control at its designed place; the caption is Windows-1252.
struct ControlSpec {
  const wchar_t* className;
  int id;
  int left, top, width, height;
  DWORD style;
  DWORD exStyle;
  const char* caption;
};

class DialogBase {
 public:
  explicit DialogBase(ErrorHandler onError);
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  HWND hwnd() const { return window_; }

 protected:
  // Makes the (hidden, empty) dialog window.
  void Create(DWORD style, DWORD exStyle);
  HWND AddControl(const ControlSpec& spec, HFONT font);
  // Puts the window at its designed screen position; the size is the client
  // area's or the whole window's.
  void Place(int left, int top, int width, int height, bool clientSize);
  // Sets a caption; a label grows to show all of its text, keeping its
  // aligned edge where it was designed.
  void SetCaptionOf(HWND control, const std::string& windows1252);
  // The caption of the window itself (`title`) or of the control `ids` maps
  // it to.
  template <class Control>
  void SetCaptionById(const std::map<Control, int>& ids, Control title, Control control,
                      const std::string& windows1252) {
    if (control == title) {
      SetCaptionOf(window_, windows1252);
      return;
    }
    const auto found = ids.find(control);
    if (found != ids.end()) SetCaptionOf(GetDlgItem(window_, found->second), windows1252);
  }

  ModalResult RunModal();
  void EndModal(ModalResult result);
  bool Showing() const;
  // Brings the dialog to the front; when another dialog of the program runs
  // over it, that one comes up over it, since it is the one that takes input.
  void ToFront();

  // The dialog's own messages; true when handled (the answer in *result).
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) = 0;

  DialogScale scale_;
  DialogFonts fonts_;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void FitLabel(HWND label);
  // The dialog moved to a monitor of another DPI (WM_DPICHANGED): its
  // controls, their fonts and labels are laid out again for `dpi`, and the
  // window takes the rectangle the system suggests.
  void ChangeDpi(int dpi, const RECT& suggested);

  // The dialog whose window is being made (one thread makes them all).
  static DialogBase* creating_;
  ErrorHandler onError_;
  // Labels with their designed rectangles (scaled), by control.
  std::map<HWND, RECT> labels_;
  HWND window_ = nullptr;
  bool running_ = false;
  ModalResult result_ = ModalResult::kCancel;
};

}  // namespace platform::win32
