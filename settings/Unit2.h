#pragma once
// The settings dialog: the language list, speed and zoom on track bars and
// three optional pictures, each a check box, a path and a browse button.
// It holds nothing but its controls; the settings themselves live in the
// main window, which fills the dialog, shows it and reads it back.
// `Unit2` and `TfrmOpciones` ("options") are the names of the first,
// form-based releases, kept as the main window's are (see app/Unit1.h);
// `dlgAbrir` ("open") is the picture dialog the browse buttons open.
#include <array>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/system.h"
#include "settings/settings_store.h"

namespace settings {

class TfrmOpciones : public platform::SettingsEvents {
 public:
  TfrmOpciones(platform::SettingsWindow& window, platform::FileSystem& files,
               platform::PictureDialog& dlgAbrir);
  ~TfrmOpciones() override;
  TfrmOpciones(const TfrmOpciones&) = delete;
  TfrmOpciones& operator=(const TfrmOpciones&) = delete;

  // Lists the language files beside the program, once.
  void FormCreate();

  void SetCaption(platform::SettingsControl control, const std::string& text);

  // The settings command's steps: the controls from the settings, the modal
  // run, and (after OK) the settings from the controls.
  void Fill(const Settings& from);
  platform::ModalResult ShowModal();
  void Apply(Settings* to);
  bool IsShowing();
  void BringToFront();

  // The edit's change, the check box's change of state, the browse button.
  void txtChange(platform::PictureRow row);
  void chkClick(platform::PictureRow row);
  void ButtonClick(platform::PictureRow row);

  // The entries of the language list, as the files spell them.
  const std::vector<std::string>& Languages() const { return languages_; }

 private:
  void PathEdited(platform::PictureRow row) override { txtChange(row); }
  void CheckClicked(platform::PictureRow row) override { chkClick(row); }
  void BrowseClicked(platform::PictureRow row) override { ButtonClick(row); }

  void SetPath(platform::PictureRow row, const std::string& text);
  void SetCheck(platform::PictureRow row, bool checked);

  platform::SettingsWindow& window_;
  platform::FileSystem& files_;
  platform::PictureDialog& dlgAbrir_;
  std::vector<std::string> languages_;
  // The picture dialog starts from the file it returned last.
  std::string lastPicture_;
};

// A directory entry's name without its last extension ("English.lang" gives
// "English", "My.Language.lang" gives "My.Language").
std::string WithoutLastExtension(const std::string& name);

}  // namespace settings
