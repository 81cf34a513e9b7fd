#pragma once
// The settings and about dialogs, the picture dialog and the browser in
// memory, for tests of the dialogs' logic. Setting a control from the logic
// reports nothing back, as with the real windows; the User* calls act as the
// user would and report the action.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

class FakeSettingsWindow : public SettingsWindow {
 public:
  void SetEvents(SettingsEvents* events) override { events_ = events; }
  void SetCaption(SettingsControl control, const std::string& text) override {
    captions[control] = text;
  }
  void AddLanguage(const std::string& name) override { languages.push_back(name); }
  void SelectLanguage(int index) override { selected = index; }
  int SelectedLanguage() override { return selected; }
  void SetTrackPosition(TrackBar bar, int position) override { tracks[bar] = position; }
  int TrackPosition(TrackBar bar) override { return tracks[bar]; }
  void SetPathText(PictureRow row, const std::string& text) override;
  std::string PathText(PictureRow row) override { return paths[row]; }
  void SetChecked(PictureRow row, bool checked) override { checks[row] = checked; }
  bool IsChecked(PictureRow row) override { return checks[row]; }
  ModalResult ShowModal() override;
  bool IsShowing() override { return showing; }
  void BringToFront() override { ++broughtToFront; }

  // The user's actions.
  void UserTypes(PictureRow row, const std::string& text);
  void UserClicksCheck(PictureRow row);
  void UserBrowses(PictureRow row);

  std::map<SettingsControl, std::string> captions;
  std::vector<std::string> languages;
  int selected = -1;
  std::map<TrackBar, int> tracks;
  std::map<PictureRow, std::string> paths;
  std::map<PictureRow, bool> checks;
  // Every text the logic put into an edit, in order.
  std::vector<std::string> pathWrites;
  bool showing = false;
  int broughtToFront = 0;
  int shown = 0;
  // Runs while the dialog is shown, as the user; its answer closes it.
  std::function<ModalResult()> user = [] { return ModalResult::kCancel; };

 private:
  SettingsEvents* events_ = nullptr;
};

class FakeAboutWindow : public AboutWindow {
 public:
  void SetEvents(AboutEvents* events) override { events_ = events; }
  void SetCaption(AboutControl control, const std::string& text) override {
    captions[control] = text;
  }
  ModalResult ShowModal() override;
  bool IsShowing() override { return showing; }
  void BringToFront() override { ++broughtToFront; }
  void UserClicksAddress();

  std::map<AboutControl, std::string> captions;
  bool showing = false;
  int broughtToFront = 0;
  int shown = 0;
  std::function<void()> user;

 private:
  AboutEvents* events_ = nullptr;
};

class FakePictureDialog : public PictureDialog {
 public:
  bool Run(const std::vector<FileFilter>& filters, const std::string& initialFile,
           std::string* chosen) override;

  // The user's answer: a path to confirm, or empty to cancel.
  std::string answer;
  std::vector<FileFilter> lastFilters;
  std::vector<std::string> initialFiles;
};

class FakeBrowser : public Browser {
 public:
  void Open(const std::string& address) override { opened.push_back(address); }
  std::vector<std::string> opened;
};

}  // namespace platform
