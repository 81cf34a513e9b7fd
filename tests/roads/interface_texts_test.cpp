// Interface texts: which file is read, which caption gets which text, and
// what a missing, partial, deleted or unreadable file does.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dialogs_fixture.h"
#include "lang/unitLangFile.h"

namespace {

using platform::AboutControl;
using platform::SettingsControl;
using platform::TrayItem;

// The built-in texts, written out here rather than taken from the table.
const std::map<TrayItem, std::string> kMenuDefaults = {{TrayItem::kSettings, "&Settings"},
                                                       {TrayItem::kAbout, "&About..."},
                                                       {TrayItem::kQuit, "&Quit"}};
const std::map<SettingsControl, std::string> kSettingsDefaults = {
    {SettingsControl::kOk, "OK"},
    {SettingsControl::kCancel, "Cancel"},
    {SettingsControl::kTitle, "Settings"},
    {SettingsControl::kLanguageLabel, "Language:"},
    {SettingsControl::kSpeedLabel, "Speed:"},
    {SettingsControl::kSpeedSlowLabel, "Slow"},
    {SettingsControl::kSpeedFastLabel, "Fast"},
    {SettingsControl::kZoomLabel, "Zoom:"},
    {SettingsControl::kZoomNearLabel, "Near"},
    {SettingsControl::kZoomFarLabel, "Far"},
    {SettingsControl::kBackgroundLabel, "Background:"},
    {SettingsControl::kTopFaceLabel, "Top face:"},
    {SettingsControl::kBottomFaceLabel, "Bottom face:"},
};

class InterfaceTextsTest : public DialogsTest {
 protected:
  std::map<AboutControl, std::string> AboutTranslated() {
    std::map<AboutControl, std::string> translated;
    for (AboutControl control : {AboutControl::kTitle, AboutControl::kOk}) {
      if (aboutWindow.captions.count(control) != 0)
        translated[control] = aboutWindow.captions[control];
    }
    return translated;
  }

  void ExpectDefaults() {
    EXPECT_EQ(desktop.trayMenu.texts, kMenuDefaults);
    EXPECT_EQ(settingsWindow.captions, kSettingsDefaults);
    const std::map<AboutControl, std::string> about = {{AboutControl::kTitle, "About..."},
                                                       {AboutControl::kOk, "OK"}};
    EXPECT_EQ(AboutTranslated(), about);
  }
};

TEST_F(InterfaceTextsTest, NothingIsAppliedAtStartUp) {
  StartAll();
  EXPECT_TRUE(desktop.trayMenu.texts.empty());
  EXPECT_TRUE(settingsWindow.captions.empty());
  EXPECT_TRUE(AboutTranslated().empty());
}

TEST_F(InterfaceTextsTest, NoFileGivesEveryDefault) {
  StartAll();
  form.ApplyLanguage("Klingon");
  ExpectDefaults();
}

TEST_F(InterfaceTextsTest, EveryCaptionComesFromTheFile) {
  WriteFile("Test.lang",
            "<Common>\nOK c1\nCancel c2\n</Common>\n"
            "<TrayMenu>\nSettings m1\nAbout m2\nQuit m3\n</TrayMenu>\n"
            "<Settings>\nCaption s1\nLanguage s2\nSpeed s3\nSpeedSlow s4\nSpeedFast s5\n"
            "Zoom s6\nZoomNear s7\nZoomFar s8\nBackground s9\nTopFace s10\nBottomFace s11\n"
            "</Settings>\n<About>\nCaption a1\n</About>\n");
  StartAll();
  form.ApplyLanguage("Test");
  const std::map<TrayItem, std::string> menu = {
      {TrayItem::kSettings, "m1"}, {TrayItem::kAbout, "m2"}, {TrayItem::kQuit, "m3"}};
  EXPECT_EQ(desktop.trayMenu.texts, menu);
  const std::map<SettingsControl, std::string> dialog = {
      {SettingsControl::kOk, "c1"},
      {SettingsControl::kCancel, "c2"},
      {SettingsControl::kTitle, "s1"},
      {SettingsControl::kLanguageLabel, "s2"},
      {SettingsControl::kSpeedLabel, "s3"},
      {SettingsControl::kSpeedSlowLabel, "s4"},
      {SettingsControl::kSpeedFastLabel, "s5"},
      {SettingsControl::kZoomLabel, "s6"},
      {SettingsControl::kZoomNearLabel, "s7"},
      {SettingsControl::kZoomFarLabel, "s8"},
      {SettingsControl::kBackgroundLabel, "s9"},
      {SettingsControl::kTopFaceLabel, "s10"},
      {SettingsControl::kBottomFaceLabel, "s11"},
  };
  EXPECT_EQ(settingsWindow.captions, dialog);
  const std::map<AboutControl, std::string> about = {{AboutControl::kTitle, "a1"},
                                                     {AboutControl::kOk, "c1"}};
  EXPECT_EQ(AboutTranslated(), about);
  // The about dialog's other texts never change.
  EXPECT_EQ(aboutWindow.captions[AboutControl::kVersion], "Version 2007-11-07 (beta)");
  EXPECT_EQ(aboutWindow.captions[AboutControl::kProduct], "Rombo Desktop");
}

TEST_F(InterfaceTextsTest, APartialFileFallsBackPerKey) {
  WriteFile("Partial.lang", "Settings.Caption Ajustes\n");
  StartAll();
  form.ApplyLanguage("Partial");
  std::map<SettingsControl, std::string> expected = kSettingsDefaults;
  expected[SettingsControl::kTitle] = "Ajustes";
  EXPECT_EQ(settingsWindow.captions, expected);
  EXPECT_EQ(desktop.trayMenu.texts, kMenuDefaults);
}

TEST_F(InterfaceTextsTest, OneOkEntryServesBothDialogs) {
  WriteFile("Deutsch.lang", "<common>\nok Gut\n</common>\n");
  StartAll();
  form.ApplyLanguage("Deutsch");
  EXPECT_EQ(settingsWindow.captions[SettingsControl::kOk], "Gut");
  EXPECT_EQ(aboutWindow.captions[AboutControl::kOk], "Gut");
  EXPECT_EQ(settingsWindow.captions[SettingsControl::kCancel], "Cancel");
}

TEST_F(InterfaceTextsTest, TheFileIsReadBesideTheExecutable) {
  const std::string elsewhere = "C:\\Program Files\\RomboDesktop\\Deutsch.lang";
  const std::string wrong = "TrayMenu.Settings wrong\n";
  desktop.files.insert(elsewhere);
  desktop.contents[elsewhere] = std::vector<std::uint8_t>(wrong.begin(), wrong.end());
  desktop.executableDirectory = "D:\\Tools\\Rombo\\";
  WriteFile("Deutsch.lang", "TrayMenu.Settings &Einstellungen\n");
  StartAll();
  form.ApplyLanguage("Deutsch");
  EXPECT_EQ(desktop.trayMenu.texts[TrayItem::kSettings], "&Einstellungen");
  // Parsed again only when it changed (here to a text of the same length,
  // so only the write time tells), and then at once.
  const int reads = desktop.fileReads;
  form.ApplyLanguage("Deutsch");
  EXPECT_EQ(desktop.fileReads, reads);
  WriteFile("Deutsch.lang", "TrayMenu.Settings &Konfiguration\n");
  form.ApplyLanguage("Deutsch");
  EXPECT_EQ(desktop.trayMenu.texts[TrayItem::kSettings], "&Konfiguration");
  EXPECT_EQ(desktop.fileReads, reads + 1);
}

// A name that would reach another folder gives the built-in texts, whatever
// a file there says.
class OutsideNameTest : public InterfaceTextsTest,
                        public testing::WithParamInterface<const char*> {};

TEST_P(OutsideNameTest, GivesTheBuiltInTexts) {
  const std::string name = GetParam();
  WriteFile(name + ".lang", "TrayMenu.Quit &Gone\n");
  StartAll();
  const int reads = desktop.fileReads;
  form.ApplyLanguage(name);
  form.ApplyLanguage(name);
  ExpectDefaults();
  EXPECT_EQ(desktop.fileReads, reads);
  EXPECT_EQ(desktop.faultLog.lines(),
            std::vector<std::string>{"Language name " + name +
                                     " reaches outside the program's folder; the built-in "
                                     "texts show"});
}

TEST_F(InterfaceTextsTest, AFileBeyondTheBoundsLoadsWhatFitsAndIsLoggedOnce) {
  std::string text = "TrayMenu.Quit &Ende\n";
  for (std::size_t i = 0; i < lang::kMaxLangEntries; ++i) text += "k\n";
  WriteFile("Deutsch.lang", text);
  StartAll();
  form.ApplyLanguage("Deutsch");
  form.ApplyLanguage("Deutsch");
  EXPECT_EQ(desktop.trayMenu.texts[TrayItem::kQuit], "&Ende");
  EXPECT_EQ(
      desktop.faultLog.lines(),
      std::vector<std::string>{"Language file " + BesideExe("Deutsch.lang") +
                               " goes beyond the bounds of a language file; entries dropped: 1"});
}

INSTANTIATE_TEST_SUITE_P(Names, OutsideNameTest,
                         testing::Values("..\\Deutsch", "sub\\Deutsch", "sub/Deutsch", "..",
                                         "C:Deutsch", "Deutsch.."));

TEST_F(InterfaceTextsTest, AnEmptyNameLooksForDotLang) {
  WriteFile(".lang", "About.Caption Hidden\n");
  StartAll();
  form.ApplyLanguage("");
  EXPECT_EQ(aboutWindow.captions[AboutControl::kTitle], "Hidden");
}

TEST_F(InterfaceTextsTest, ADeletedFileBringsTheDefaultsBack) {
  WriteFile("Francais.lang", "TrayMenu.Quit &Quitter\nCommon.Cancel Annuler\n");
  StartAll();
  form.ApplyLanguage("Francais");
  EXPECT_EQ(desktop.trayMenu.texts[TrayItem::kQuit], "&Quitter");
  desktop.files.erase(BesideExe("Francais.lang"));
  form.ApplyLanguage("Francais");
  ExpectDefaults();
}

TEST_F(InterfaceTextsTest, AnUnreadableFileChangesNoCaption) {
  WriteFile("Francais.lang", "TrayMenu.Quit &Quitter\nCommon.Cancel Annuler\n");
  StartAll();
  form.ApplyLanguage("Francais");
  const auto menuBefore = desktop.trayMenu.texts;
  const auto dialogBefore = settingsWindow.captions;
  desktop.locked.insert(BesideExe("Francais.lang"));
  WriteFile("Francais.lang", "TrayMenu.Quit changed\n");
  try {
    form.ApplyLanguage("Francais");
    FAIL() << "no error";
  } catch (const lang::LangFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + BesideExe("Francais.lang"));
  }
  EXPECT_EQ(desktop.trayMenu.texts, menuBefore);
  EXPECT_EQ(settingsWindow.captions, dialogBefore);
}

}  // namespace
