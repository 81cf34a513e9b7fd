// The tray icon's notifications, its menu's three commands and the texts of
// the chosen language on every caption the user can see.
#include <variant>

#include "app/Unit1.h"
#include "lang/interface_texts.h"
#include "lang/lang_text.h"
#include "lang/unitLangFile.h"

namespace app {

namespace {
template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;
}  // namespace

void TForm1::AttachDialogs(settings::TfrmOpciones& opciones, settings::TfrmAcercaDe& acercaDe) {
  frmOpciones = &opciones;
  frmAcercaDe = &acercaDe;
}

void TForm1::WMTrayIcon(std::uint32_t mouseMessage) {
  // Every notification, mouse movement included, so the menu and the
  // dialogs always show the language chosen last, and a language file edited
  // on disk shows without a restart.
  ApplyLanguage(settings.languageName);
  if (mouseMessage == platform::kRightButtonUp) {
    const platform::Point at = system_.windows.CursorPos();
    switch (system_.trayMenu.Popup(system_.mainWindow.Handle(), at)) {
      case platform::TrayChoice::kSettings:
        mnuTrayOpcionesClick();
        break;
      case platform::TrayChoice::kAbout:
        mnuTrayAcercaDeClick();
        break;
      case platform::TrayChoice::kQuit:
        mnuTraySalirClick();
        break;
      case platform::TrayChoice::kNone:
        break;
    }
  } else if (mouseMessage == platform::kLeftButtonDoubleClick) {
    mnuTrayOpcionesClick();
  }
}

void TForm1::mnuTrayOpcionesClick() {
  if (frmOpciones == nullptr) return;
  // Reached again while the dialog is open (a double click on the icon, the
  // menu): the open dialog keeps the user's unconfirmed changes.
  if (frmOpciones->IsShowing()) {
    frmOpciones->BringToFront();
    return;
  }
  frmOpciones->Fill(settings);
  if (frmOpciones->ShowModal() != platform::ModalResult::kOk) return;
  frmOpciones->Apply(&settings);
  imagesDirty = true;
  settings::SaveSettings(system_.store, settings);
}

void TForm1::mnuTrayAcercaDeClick() {
  if (frmAcercaDe == nullptr) return;
  if (frmAcercaDe->IsShowing()) {
    frmAcercaDe->BringToFront();
    return;
  }
  frmAcercaDe->ShowModal();
}

void TForm1::WMTaskbarCreated() { trayIcon_.Show(); }

void TForm1::ReportImmovableWindow() {
  const platform::WindowHandle window = parking_.FirstImmovableWindow();
  // While the icon is missing a balloon may wait for it; this one then comes
  // after a later session rather than take its place.
  if (immovableReported || window == platform::kNoWindow || !trayIcon_.Shown()) return;
  immovableReported = true;
  const std::string title = system_.windows.Title(window);
  system_.log.Write("not moved, its program runs as administrator: \"" + title + "\"");
  trayIcon_.ShowBalloon(lang::ReplaceAll(MessageText(lang::kRunAsAdministrator),
                                         lang::kWindowTitlePlaceholder, title));
}

std::string TForm1::MessageText(const lang::MessageText& text) {
  try {
    return LanguageTable(settings.languageName).Lookup(text.key, text.defaultText);
  } catch (const lang::LangFileError& error) {
    // At start-up nobody may be shown an error box for it; the tray icon
    // reports an unreadable file as soon as the user points at it.
    system_.log.Write(std::string("language file not read, its default text used: ") +
                      error.what());
    return text.defaultText;
  }
}

void TForm1::ReportElevated() {
  system_.log.Write("Runs with administrator rights; it should not");
  trayIcon_.ShowBalloon(MessageText(lang::kRunsElevated));
}

const lang::TLangFile& TForm1::LanguageTable(const std::string& languageName) {
  static const lang::TLangFile kBuiltIn;
  if (!lang::IsPlainLanguageName(languageName)) {
    // Once, not at every mouse move over the tray icon.
    if (languageName != refusedLanguage_) {
      system_.log.Write("Language name " + languageName +
                        " reaches outside the program's folder; the built-in texts show");
      refusedLanguage_ = languageName;
    }
    return kBuiltIn;
  }
  return language_.Load(
      system_.files, system_.log,
      system_.files.ExecutableDirectory() + languageName + lang::kLanguageFileExtension);
}

void TForm1::ApplyLanguage(const std::string& languageName) {
  const lang::TLangFile& file = LanguageTable(languageName);
  for (const lang::InterfaceText& row : lang::kInterfaceTexts) {
    const std::string text = file.Lookup(row.key, row.defaultText);
    std::visit(Overloaded{
                   [&](platform::TrayItem item) { system_.trayMenu.SetItemText(item, text); },
                   [&](platform::SettingsControl control) {
                     if (frmOpciones != nullptr) frmOpciones->SetCaption(control, text);
                   },
                   [&](platform::AboutControl control) {
                     if (frmAcercaDe != nullptr) frmAcercaDe->SetCaption(control, text);
                   },
               },
               row.target);
  }
  trayIcon_.SetDesktopText(file.Lookup(lang::kTrayDesktop.key, lang::kTrayDesktop.defaultText));
}

}  // namespace app
