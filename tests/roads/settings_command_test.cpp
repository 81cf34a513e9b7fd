// The settings command through the main window: what OK and Cancel do to the
// settings, the pictures' mark and the store.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs_fixture.h"
#include "settings/settings_store.h"
#include "tests/common/settings_checks.h"

namespace {

using platform::ModalResult;
using platform::PictureRow;
using platform::TrackBar;

using settings::testing_support::ExpectSameSettings;

// The settings command through the main window, after a session has loaded
// the pictures (so the mark OK sets shows).
class SettingsCommandTest : public DialogsTest {
 protected:
  void StartWithLanguages() {
    WriteFile("English.lang", "");
    WriteFile("Deutsch.lang", "");
    desktop.listingOrder = {"English.lang", "Deutsch.lang"};
    StartAll();
    Switch();
    ASSERT_FALSE(form.ImagesDirty());
  }
  // What the dialog shows: the language entry, both track bars and the
  // background's row.
  void ExpectShown(int language, int speed, int zoom, const std::string& background) {
    EXPECT_EQ(settingsWindow.selected, language);
    EXPECT_EQ(settingsWindow.tracks[TrackBar::kSpeed], speed);
    EXPECT_EQ(settingsWindow.tracks[TrackBar::kZoom], zoom);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], background);
    EXPECT_EQ(settingsWindow.checks[PictureRow::kBackground], !background.empty());
  }
  std::vector<std::uint8_t> Stored(const char* valueName) {
    return store.GetValue(settings::kKeyPath, valueName)->data;
  }
};

TEST_F(SettingsCommandTest, TheDialogShowsTheStoredSettingsAndOkKeepsAndStoresTheNewOnes) {
  settings::Settings stored;
  stored.languageName = "Deutsch";
  stored.speed = 0.5f;
  stored.backgroundPath = "C:\\back.png";
  settings::SaveSettings(store, stored);  // read at start-up
  StartWithLanguages();
  OpenSettings([&] {
    ExpectShown(1, 50, 20, "C:\\back.png");
    settingsWindow.selected = 0;
    settingsWindow.tracks[TrackBar::kZoom] = 55;
    settingsWindow.UserTypes(PictureRow::kTopFace, "C:\\top.png");
    return ModalResult::kOk;
  });
  settings::Settings expected = stored;
  expected.languageName = "English";
  expected.zoom = 0.55f;
  expected.topPath = "C:\\top.png";
  ExpectSameSettings(expected, form.Settings());
  EXPECT_TRUE(form.ImagesDirty());
  EXPECT_EQ(Stored(settings::kLanguageValue),
            (std::vector<std::uint8_t>{'E', 'n', 'g', 'l', 'i', 's', 'h', 0}));
  EXPECT_EQ(settings::DecodeNumber(Stored(settings::kZoomValue)), 0.55f);
  EXPECT_EQ(settings::DecodeText(Stored(settings::kTopValue)), "C:\\top.png");
}

TEST_F(SettingsCommandTest, CancelChangesNothingAndTheNextOpeningShowsTheSettingsAgain) {
  StartWithLanguages();
  const settings::Settings before = form.Settings();
  OpenSettings([&] {
    settingsWindow.selected = 1;
    settingsWindow.tracks[TrackBar::kSpeed] = 77;
    settingsWindow.tracks[TrackBar::kZoom] = 3;
    settingsWindow.UserTypes(PictureRow::kBackground, "C:\\x.png");
    return ModalResult::kCancel;
  });
  ExpectSameSettings(before, form.Settings());
  EXPECT_FALSE(form.ImagesDirty());
  EXPECT_TRUE(store.keys().empty());

  OpenSettings([&] {
    ExpectShown(0, 30, 20, "");
    return ModalResult::kCancel;
  });
}

TEST_F(SettingsCommandTest, OkWithoutChangeStillMarksThePicturesAndRewritesTheStore) {
  StartWithLanguages();
  const auto ok = [] { return ModalResult::kOk; };
  OpenSettings(ok);
  EXPECT_TRUE(form.ImagesDirty());
  const std::vector<std::string> order = {"idioma", "zoom",         "velocidad",
                                          "fondo",  "tapasuperior", "tapainferior"};
  EXPECT_EQ(store.write_log(), order);
  // 0.3 in single precision, widened: 00 00 00 40 33 33 D3 3F.
  const std::vector<std::uint8_t> speed = {0x00, 0x00, 0x00, 0x40, 0x33, 0x33, 0xD3, 0x3F};
  EXPECT_EQ(Stored(settings::kSpeedValue), speed);

  Switch();
  OpenSettings(ok);
  EXPECT_TRUE(form.ImagesDirty());
  EXPECT_EQ(store.write_log().size(), 12u);
  EXPECT_EQ(Stored(settings::kSpeedValue), speed);
}

}  // namespace
