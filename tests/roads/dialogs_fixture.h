#pragma once
// A started main window with both dialogs attached, over fake windows, and
// language files beside the fake executable.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "settings/Unit2.h"
#include "settings/Unit3.h"
#include "tests/support/fake/fake_dialogs.h"
#include "tests/unit/form_fixture.h"

class DialogsTest : public FormTest {
 protected:
  DialogsTest() : opciones(settingsWindow, desktop, pictures), acercaDe(aboutWindow, browser) {}

  // Program entry's order: the main window, then the settings dialog, then
  // the about dialog.
  void StartAll() {
    Start();
    opciones.FormCreate();
    acercaDe.FormCreate();
    form.AttachDialogs(opciones, acercaDe);
  }

  // The settings command; `user` acts in the dialog and closes it.
  void OpenSettings(std::function<platform::ModalResult()> user) {
    settingsWindow.user = std::move(user);
    form.mnuTrayOpcionesClick();
  }

  // One switch to the right, until the cube is gone. Its start loads the
  // pictures the settings name, which clears the mark that OK sets.
  void Switch() {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }

  std::string BesideExe(const std::string& name) { return desktop.executableDirectory + name; }

  void WriteFile(const std::string& name, const std::string& text) {
    desktop.files.insert(BesideExe(name));
    desktop.contents[BesideExe(name)] = std::vector<std::uint8_t>(text.begin(), text.end());
  }

  platform::FakeSettingsWindow settingsWindow;
  platform::FakeAboutWindow aboutWindow;
  platform::FakePictureDialog pictures;
  platform::FakeBrowser browser;
  settings::TfrmOpciones opciones;
  settings::TfrmAcercaDe acercaDe;
};
