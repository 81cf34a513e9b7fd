#include "platform/win32/picture_dialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/fit.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

// The longest path the system's file functions accept.
constexpr DWORD kPathBuffer = 32768;
constexpr int kPreviewId = 1300;
constexpr WORD kStaticClassAtom = 0x0082;
// The custom part, in dialog units: the standard controls stand in the
// stc32 rectangle, the preview box to its right.
constexpr short kPreviewLeft = 8, kPreviewTop = 20, kPreviewWidth = 112, kPreviewHeight = 100;
constexpr short kChildWidth = kPreviewLeft + kPreviewWidth + 16;
constexpr short kChildHeight = kPreviewTop + kPreviewHeight;
constexpr int kPreviewMargin = 4;

// Appends a dialog template in memory, item by item.
class TemplateWriter {
 public:
  void Header(DWORD style, WORD items, short width, short height) {
    Long(style);
    Long(0);
    words_.push_back(items);
    Shorts({0, 0, width, height});
    words_.insert(words_.end(), {0, 0, 0});  // no menu, the standard class, no title
  }
  void StaticItem(DWORD style, short left, short top, short width, short height, WORD id) {
    // Every item starts on a 4-byte boundary.
    if (words_.size() % 2 != 0) words_.push_back(0);
    Long(style);
    Long(0);
    Shorts({left, top, width, height});
    words_.push_back(id);
    words_.insert(words_.end(), {0xFFFF, kStaticClassAtom, 0, 0});  // no title, no data
  }
  const WORD* data() const { return words_.data(); }

 private:
  void Long(DWORD value) { words_.insert(words_.end(), {LOWORD(value), HIWORD(value)}); }
  void Shorts(std::initializer_list<short> values) {
    for (short value : values) words_.push_back(static_cast<WORD>(value));
  }
  std::vector<WORD> words_;
};

std::vector<char> FilterString(const std::vector<FileFilter>& filters) {
  std::vector<char> text;
  for (const FileFilter& filter : filters) {
    text.insert(text.end(), filter.description.begin(), filter.description.end());
    text.push_back('\0');
    text.insert(text.end(), filter.patterns.begin(), filter.patterns.end());
    text.push_back('\0');
  }
  text.push_back('\0');
  text.push_back('\0');
  return text;
}

// The dialog opens where its owner stands, and with the preview beside the
// file list it is wider than the settings dialog: it is moved back onto its
// monitor's work area where it reaches beyond it.
void KeepOnScreen(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  RECT place;
  if (!GetWindowRect(window, &place) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const Rect kept = KeptInside(
      Rect{place.left, place.top, place.right, place.bottom},
      Rect{monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom});
  if (kept.left == place.left && kept.top == place.top) return;
  SetWindowPos(window, nullptr, kept.left, kept.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The dialog and the system hand the hook their notices on this thread's
// stack (the system copies a message it marshals there too). Any program of
// the user can send WM_NOTIFY or WM_DRAWITEM with an address of its own,
// which the system does not marshal; such an address is not read.
bool OnThisThreadsStack(LPARAM address, std::size_t size) {
  const int here = 0;
  MEMORY_BASIC_INFORMATION stack;
  MEMORY_BASIC_INFORMATION given;
  if (VirtualQuery(&here, &stack, sizeof(stack)) == 0 ||
      VirtualQuery(reinterpret_cast<const void*>(address), &given, sizeof(given)) == 0) {
    return false;
  }
  const auto at = static_cast<std::uintptr_t>(address);
  const auto end = reinterpret_cast<std::uintptr_t>(given.BaseAddress) + given.RegionSize;
  return given.AllocationBase == stack.AllocationBase && given.State == MEM_COMMIT &&
         end - at >= size;
}

}  // namespace

Win32PictureDialog::Win32PictureDialog(HWND owner, PictureLoader loader)
    : owner_(owner), loader_(std::move(loader)) {}

bool Win32PictureDialog::Run(const std::vector<FileFilter>& filters, const std::string& initialFile,
                             std::string* chosen) {
  TemplateWriter custom;
  custom.Header(WS_CHILD | WS_CLIPSIBLINGS | DS_CONTROL | DS_3DLOOK, 2, kChildWidth, kChildHeight);
  // As tall as the custom part, so the preview counts as beside the
  // standard controls, not below them.
  custom.StaticItem(WS_CHILD, 0, 0, 1, kChildHeight, stc32);
  custom.StaticItem(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, kPreviewLeft, kPreviewTop, kPreviewWidth,
                    kPreviewHeight, kPreviewId);

  const std::vector<char> filter = FilterString(filters);
  std::vector<char> file(kPathBuffer, '\0');
  if (initialFile.size() < file.size()) initialFile.copy(file.data(), initialFile.size());
  picture_ = PixelImage();
  previewPath_.clear();

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner_;
  // With OFN_ENABLETEMPLATEHANDLE this is the template in memory.
  dialog.hInstance = reinterpret_cast<HINSTANCE>(const_cast<WORD*>(custom.data()));
  dialog.lpstrFilter = filter.data();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kPathBuffer;
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                 OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
  dialog.lpfnHook = Hook;
  running_ = this;
  const bool confirmed = GetOpenFileNameA(&dialog) != FALSE;
  running_ = nullptr;
  picture_ = PixelImage();
  if (!confirmed) return false;
  *chosen = file.data();
  return true;
}

Win32PictureDialog* Win32PictureDialog::running_ = nullptr;

UINT_PTR CALLBACK Win32PictureDialog::Hook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // The object comes from the dialog that runs, never from the message.
    if (running_ != nullptr && GetWindowLongPtrW(child, DWLP_USER) == 0) {
      SetWindowLongPtrW(child, DWLP_USER, reinterpret_cast<LONG_PTR>(running_));
    }
    return TRUE;
  }
  auto* self = reinterpret_cast<Win32PictureDialog*>(GetWindowLongPtrW(child, DWLP_USER));
  if (self == nullptr) return FALSE;
  // Nothing may be thrown into the common dialog: a picture that cannot be
  // shown just leaves the preview empty.
  try {
    const UINT notification = message == WM_NOTIFY && OnThisThreadsStack(lParam, sizeof(NMHDR))
                                  ? reinterpret_cast<const NMHDR*>(lParam)->code
                                  : 0;
    if (notification == CDN_INITDONE) {
      KeepOnScreen(GetParent(child));
    } else if (notification == CDN_SELCHANGE) {
      self->Preview(child);
    } else if (message == WM_DRAWITEM && OnThisThreadsStack(lParam, sizeof(DRAWITEMSTRUCT))) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID != kPreviewId) return FALSE;
      self->Draw(*item);
      return TRUE;
    }
  } catch (...) {
    self->picture_ = PixelImage();
  }
  return FALSE;
}

void Win32PictureDialog::Preview(HWND child) {
  std::vector<char> path(kPathBuffer, '\0');
  const LRESULT length =
      SendMessageA(GetParent(child), CDM_GETFILEPATH, static_cast<WPARAM>(path.size()),
                   reinterpret_cast<LPARAM>(path.data()));
  // The list reports a selection again at every click on it: the file
  // chosen is decoded once, on this (the GUI) thread.
  const std::string chosen = length > 0 ? std::string(path.data()) : std::string();
  if (chosen == previewPath_) return;
  previewPath_ = chosen;
  picture_ = PixelImage();
  if (!chosen.empty() && loader_ && !loader_(chosen, &picture_)) picture_ = PixelImage();
  InvalidateRect(GetDlgItem(child, kPreviewId), nullptr, TRUE);
}

void Win32PictureDialog::Draw(const DRAWITEMSTRUCT& item) const {
  const RECT box = item.rcItem;
  FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, const_cast<RECT*>(&box), EDGE_SUNKEN, BF_RECT);
  if (picture_.Empty()) return;
  const int innerWidth = box.right - box.left - 2 * kPreviewMargin;
  const int innerHeight = box.bottom - box.top - 2 * kPreviewMargin;
  const Rect fit = FitCentred(innerWidth, innerHeight, picture_.width, picture_.height);
  const BITMAPINFO info = BottomUpPixels(picture_.width, picture_.height);
  SetStretchBltMode(item.hDC, HALFTONE);
  SetBrushOrgEx(item.hDC, 0, 0, nullptr);
  StretchDIBits(item.hDC, box.left + kPreviewMargin + fit.left, box.top + kPreviewMargin + fit.top,
                fit.right - fit.left, fit.bottom - fit.top, 0, 0, picture_.width, picture_.height,
                picture_.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace platform::win32
