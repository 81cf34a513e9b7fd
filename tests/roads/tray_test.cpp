// The tray icon's notifications and the menu's commands, with the dialogs
// they open.
#include <gtest/gtest.h>

#include <string>

#include "dialogs_fixture.h"
#include "lang/unitLangFile.h"
#include "settings/settings_store.h"

namespace {

using platform::ModalResult;
using platform::PictureRow;
using platform::TrayChoice;
using platform::TrayItem;

class TrayTest : public DialogsTest {
 protected:
  void SetUp() override {
    WriteFile("English.lang", "TrayMenu.Settings &Options\n");
    StartAll();
  }
};

struct NotificationCase {
  std::uint32_t mouseMessage;
  int popups;
  int settingsShown;
};

class TrayNotificationTest : public TrayTest,
                             public testing::WithParamInterface<NotificationCase> {};

TEST_P(TrayNotificationTest, AppliesTheTextsThenReactsToItsOwnMessagesOnly) {
  const NotificationCase& c = GetParam();
  desktop.cursor = {1000, 750};
  form.WMTrayIcon(c.mouseMessage);
  EXPECT_EQ(desktop.trayMenu.texts[TrayItem::kSettings], "&Options");
  EXPECT_EQ(static_cast<int>(desktop.trayMenu.popups.size()), c.popups);
  EXPECT_EQ(settingsWindow.shown, c.settingsShown);
  EXPECT_EQ(aboutWindow.shown, 0);
  EXPECT_TRUE(desktop.log.empty()) << desktop.log.front();
}

INSTANTIATE_TEST_SUITE_P(Messages, TrayNotificationTest,
                         testing::Values(NotificationCase{platform::kMouseMove, 0, 0},
                                         NotificationCase{0x0201 /* left down */, 0, 0},
                                         NotificationCase{platform::kLeftButtonUp, 0, 0},
                                         NotificationCase{0x0204 /* right down */, 0, 0},
                                         NotificationCase{platform::kRightButtonUp, 1, 0},
                                         NotificationCase{platform::kLeftButtonDoubleClick, 0, 1},
                                         NotificationCase{0x0206 /* right dbl */, 0, 0}));

TEST_F(TrayTest, TheMenuOpensAtTheCursorWithTheTextsAlreadySet) {
  desktop.cursor = {1010, 740};
  std::string shownText;
  desktop.trayMenu.whileOpen = [&] { shownText = desktop.trayMenu.texts[TrayItem::kSettings]; };
  form.WMTrayIcon(platform::kRightButtonUp);
  ASSERT_EQ(desktop.trayMenu.popups.size(), 1u);
  EXPECT_EQ(desktop.trayMenu.popups[0].x, 1010);
  EXPECT_EQ(desktop.trayMenu.popups[0].y, 740);
  EXPECT_EQ(desktop.trayMenu.lastOwner, desktop.Handle());
  EXPECT_EQ(shownText, "&Options");
}

TEST_F(TrayTest, EachMenuCommandRunsItsHandler) {
  bool closed = false;
  desktop.onClose = [&] { closed = true; };
  desktop.trayMenu.choice = TrayChoice::kNone;
  form.WMTrayIcon(platform::kRightButtonUp);
  EXPECT_EQ(settingsWindow.shown + aboutWindow.shown, 0);
  EXPECT_FALSE(closed);

  desktop.trayMenu.choice = TrayChoice::kAbout;
  form.WMTrayIcon(platform::kRightButtonUp);
  EXPECT_EQ(aboutWindow.shown, 1);
  EXPECT_EQ(settingsWindow.shown, 0);

  desktop.trayMenu.choice = TrayChoice::kSettings;
  form.WMTrayIcon(platform::kRightButtonUp);
  EXPECT_EQ(settingsWindow.shown, 1);
  EXPECT_FALSE(closed);

  desktop.trayMenu.choice = TrayChoice::kQuit;
  form.WMTrayIcon(platform::kRightButtonUp);
  EXPECT_TRUE(closed);
  EXPECT_EQ(settingsWindow.shown, 1);
  EXPECT_EQ(aboutWindow.shown, 1);
}

TEST_F(TrayTest, AnUnreadableLanguageFileOpensNothing) {
  // Changed (so read again, not taken from what was read at start) and
  // locked.
  WriteFile("English.lang", "TrayMenu.Quit &Quit\n");
  desktop.locked.insert(BesideExe("English.lang"));
  EXPECT_THROW(form.WMTrayIcon(platform::kRightButtonUp), lang::LangFileError);
  EXPECT_TRUE(desktop.trayMenu.popups.empty());
  EXPECT_THROW(form.WMTrayIcon(platform::kLeftButtonDoubleClick), lang::LangFileError);
  EXPECT_EQ(settingsWindow.shown, 0);
  // Once the file can be read again, everything works as before.
  desktop.locked.clear();
  form.WMTrayIcon(platform::kLeftButtonDoubleClick);
  EXPECT_EQ(settingsWindow.shown, 1);
}

TEST_F(TrayTest, ARestartedShellGetsTheIconAgain) {
  form.WMTaskbarCreated();
  EXPECT_EQ(desktop.log, std::vector<std::string>{"tray.add"});
}

TEST_F(TrayTest, TheSettingsCommandWhileItsDialogIsOpenOnlyBringsItToTheFront) {
  settingsWindow.user = [&] {
    settingsWindow.UserTypes(PictureRow::kTopFace, "C:\\typed.png");
    // A double click on the icon and the menu's command, both while open.
    form.WMTrayIcon(platform::kLeftButtonDoubleClick);
    desktop.trayMenu.choice = TrayChoice::kSettings;
    form.WMTrayIcon(platform::kRightButtonUp);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kTopFace], "C:\\typed.png");
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kTopFace]);
    return ModalResult::kOk;
  };
  form.WMTrayIcon(platform::kLeftButtonDoubleClick);
  EXPECT_EQ(settingsWindow.shown, 1);
  EXPECT_EQ(settingsWindow.broughtToFront, 2);
  // The user's edit survived and was confirmed.
  EXPECT_EQ(form.Settings().topPath, "C:\\typed.png");
}

TEST_F(TrayTest, TheAboutCommandWhileItsDialogIsOpenOnlyBringsItToTheFront) {
  aboutWindow.user = [&] {
    form.mnuTrayAcercaDeClick();
    aboutWindow.UserClicksAddress();
    aboutWindow.UserClicksAddress();
  };
  form.mnuTrayAcercaDeClick();
  EXPECT_EQ(aboutWindow.shown, 1);
  EXPECT_EQ(aboutWindow.broughtToFront, 1);
  EXPECT_EQ(browser.opened, (std::vector<std::string>{"https://rombodesktop.example.org/",
                                                      "https://rombodesktop.example.org/"}));
}

TEST_F(TrayTest, AFailedSaveReportsTheValueAndKeepsTheNewSettings) {
  Switch();  // its start loaded the pictures
  ASSERT_FALSE(form.ImagesDirty());
  store.FailWritesOf("zoom");
  settingsWindow.user = [&] {
    settingsWindow.tracks[platform::TrackBar::kZoom] = 55;
    return ModalResult::kOk;
  };
  try {
    form.mnuTrayOpcionesClick();
    FAIL() << "no error";
  } catch (const settings::SaveError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for 'zoom'");
  }
  EXPECT_FLOAT_EQ(form.Settings().zoom, 0.55f);
  EXPECT_TRUE(form.ImagesDirty());
}

}  // namespace
