#include "tests/support/fake/fake_dialogs.h"

namespace platform {

void FakeSettingsWindow::SetPathText(PictureRow row, const std::string& text) {
  paths[row] = text;
  pathWrites.push_back(text);
}

ModalResult FakeSettingsWindow::ShowModal() {
  ++shown;
  showing = true;
  const ModalResult result = user();
  showing = false;
  return result;
}

void FakeSettingsWindow::UserTypes(PictureRow row, const std::string& text) {
  paths[row] = text;
  if (events_ != nullptr) events_->PathEdited(row);
}

void FakeSettingsWindow::UserClicksCheck(PictureRow row) {
  checks[row] = !checks[row];
  if (events_ != nullptr) events_->CheckClicked(row);
}

void FakeSettingsWindow::UserBrowses(PictureRow row) {
  if (events_ != nullptr) events_->BrowseClicked(row);
}

ModalResult FakeAboutWindow::ShowModal() {
  ++shown;
  showing = true;
  if (user) user();
  showing = false;
  return ModalResult::kOk;
}

void FakeAboutWindow::UserClicksAddress() {
  if (events_ != nullptr) events_->AddressClicked();
}

bool FakePictureDialog::Run(const std::vector<FileFilter>& filters, const std::string& initialFile,
                            std::string* chosen) {
  lastFilters = filters;
  initialFiles.push_back(initialFile);
  if (answer.empty()) return false;
  *chosen = answer;
  return true;
}

}  // namespace platform
