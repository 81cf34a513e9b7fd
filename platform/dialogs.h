#pragma once
// The settings and about dialogs as their logic sees them: controls to fill
// and read, a modal run, and the user's actions reported back. Texts are
// single-byte: captions are Windows-1252, file names and paths are in the
// system's ANSI code page.
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class ModalResult { kOk, kCancel };

// Translatable captions of the settings dialog.
enum class SettingsControl {
  kTitle,
  kOk,
  kCancel,
  kLanguageLabel,
  kSpeedLabel,
  kSpeedSlowLabel,
  kSpeedFastLabel,
  kZoomLabel,
  kZoomNearLabel,
  kZoomFarLabel,
  kBackgroundLabel,
  kTopFaceLabel,
  kBottomFaceLabel,
};

enum class TrackBar { kSpeed, kZoom };

// A track bar's positions; the settings are a hundredth of them.
struct TrackRange {
  int min;
  int max;
};
inline constexpr TrackRange kSpeedRange{20, 90};
inline constexpr TrackRange kZoomRange{0, 100};
inline constexpr int kTrackPageStep = 2;

// The three rows of check box, path edit and browse button.
enum class PictureRow { kBackground, kTopFace, kBottomFace };

// The user's actions in the settings dialog. Changes the logic makes itself
// through SettingsWindow are not reported back.
class SettingsEvents {
 public:
  virtual ~SettingsEvents() = default;
  virtual void PathEdited(PictureRow row) = 0;
  virtual void CheckClicked(PictureRow row) = 0;
  virtual void BrowseClicked(PictureRow row) = 0;
};

class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  virtual void SetEvents(SettingsEvents* events) = 0;
  virtual void SetCaption(SettingsControl control, const std::string& text) = 0;

  virtual void AddLanguage(const std::string& name) = 0;
  // -1 selects nothing.
  virtual void SelectLanguage(int index) = 0;
  // The selected entry, or -1.
  virtual int SelectedLanguage() = 0;

  virtual void SetTrackPosition(TrackBar bar, int position) = 0;
  virtual int TrackPosition(TrackBar bar) = 0;

  virtual void SetPathText(PictureRow row, const std::string& text) = 0;
  virtual std::string PathText(PictureRow row) = 0;
  virtual void SetChecked(PictureRow row, bool checked) = 0;
  virtual bool IsChecked(PictureRow row) = 0;

  // Shows the dialog and returns once it has closed: kOk for the OK button,
  // kCancel for Cancel, Esc and the close box.
  virtual ModalResult ShowModal() = 0;
  virtual bool IsShowing() = 0;
  virtual void BringToFront() = 0;
};

enum class AboutControl { kTitle, kOk, kProduct, kRightsLine1, kRightsLine2, kVersion, kAddress };

class AboutEvents {
 public:
  virtual ~AboutEvents() = default;
  virtual void AddressClicked() = 0;
};

class AboutWindow {
 public:
  virtual ~AboutWindow() = default;
  virtual void SetEvents(AboutEvents* events) = 0;
  virtual void SetCaption(AboutControl control, const std::string& text) = 0;
  virtual ModalResult ShowModal() = 0;
  virtual bool IsShowing() = 0;
  virtual void BringToFront() = 0;
};

// One entry of a file dialog's list of file types.
struct FileFilter {
  std::string description;  // what the list shows
  std::string patterns;     // "*.bmp" or "*.bmp;*.png"
  bool operator==(const FileFilter& other) const {
    return description == other.description && patterns == other.patterns;
  }
};

// The file-open dialog for pictures, with a preview of the selected file.
class PictureDialog {
 public:
  virtual ~PictureDialog() = default;
  // Runs the dialog starting from `initialFile` (may be empty); true and the
  // chosen full path when the user confirms an existing file.
  virtual bool Run(const std::vector<FileFilter>& filters, const std::string& initialFile,
                   std::string* chosen) = 0;
};

// Opens a web address in the user's browser.
class Browser {
 public:
  virtual ~Browser() = default;
  virtual void Open(const std::string& address) = 0;
};

}  // namespace platform
