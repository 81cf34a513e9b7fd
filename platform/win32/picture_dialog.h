#pragma once
// The file-open dialog for pictures, with a preview of the selected file
// beside the standard controls.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/types.h"

namespace platform::win32 {

// Decodes a picture file; false when it cannot.
using PictureLoader = std::function<bool(const std::string& path, PixelImage* picture)>;

class Win32PictureDialog : public PictureDialog {
 public:
  Win32PictureDialog(HWND owner, PictureLoader loader);

  bool Run(const std::vector<FileFilter>& filters, const std::string& initialFile,
           std::string* chosen) override;

 private:
  static UINT_PTR CALLBACK Hook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
  void Preview(HWND child);
  void Draw(const DRAWITEMSTRUCT& item) const;

  // The dialog whose Run is under way (one runs at a time: it is modal).
  static Win32PictureDialog* running_;
  HWND owner_;
  PictureLoader loader_;
  PixelImage picture_;
  std::string previewPath_;  // the file the preview shows
};

}  // namespace platform::win32
