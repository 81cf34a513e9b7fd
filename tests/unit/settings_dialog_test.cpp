// The settings dialog: its language list, the track bars, the check box and
// edit rules, browsing, and what OK and Cancel do to the settings and the
// store.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "dialogs_fixture.h"
#include "settings/picture_filter.h"
#include "settings/settings_store.h"
#include "settings/track_values.h"

namespace {

using platform::ModalResult;
using platform::PictureRow;
using platform::TrackBar;

std::uint32_t Bits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

class SettingsDialogTest : public DialogsTest {
 protected:
  // Opens the dialog through the settings command; `user` acts in it.
  void Open(std::function<ModalResult()> user) {
    settingsWindow.user = std::move(user);
    form.mnuTrayOpcionesClick();
  }
  void Confirm() {
    Open([] { return ModalResult::kOk; });
  }
};

TEST_F(SettingsDialogTest, ListsEveryLangEntryInFileSystemOrderWithoutItsLastExtension) {
  WriteFile("Zulu.lang", "");
  WriteFile("English.lang", "");
  WriteFile("My.Language.lang", "");
  WriteFile("Readme.lang.txt", "");
  WriteFile("Shout.LANG", "");
  WriteFile("notes.txt", "");
  desktop.files.insert("C:\\Elsewhere\\Other.lang");
  desktop.directories.insert(BesideExe("Folder.lang"));
  desktop.listingOrder = {"Zulu.lang", "Shout.LANG", "English.lang", "Folder.lang",
                          "My.Language.lang"};
  StartAll();
  const std::vector<std::string> expected = {"Zulu", "Shout", "English", "Folder", "My.Language"};
  EXPECT_EQ(opciones.Languages(), expected);
  EXPECT_EQ(settingsWindow.languages, expected);
}

TEST_F(SettingsDialogTest, TheListIsBuiltOnceAtCreation) {
  WriteFile("English.lang", "");
  StartAll();
  WriteFile("Deutsch.lang", "");
  Confirm();
  EXPECT_EQ(settingsWindow.languages, std::vector<std::string>{"English"});
}

TEST(LanguageNameTest, DropsOnlyTheLastExtension) {
  EXPECT_EQ(settings::WithoutLastExtension("English.lang"), "English");
  EXPECT_EQ(settings::WithoutLastExtension("My.Language.lang"), "My.Language");
  EXPECT_EQ(settings::WithoutLastExtension(".lang"), "");
  EXPECT_EQ(settings::WithoutLastExtension("NoDot"), "NoDot");
}

struct TrackCase {
  TrackBar bar;
  float stored;
  int position;
  float confirmed;
};

class TrackTest : public SettingsDialogTest, public testing::WithParamInterface<TrackCase> {
 protected:
  float& Setting() {
    return GetParam().bar == TrackBar::kSpeed ? form.settings.speed : form.settings.zoom;
  }
};

TEST_P(TrackTest, ShowsTheRoundedLimitedPositionAndStoresItBack) {
  const TrackCase& c = GetParam();
  StartAll();
  Setting() = c.stored;
  int shown = -1;
  Open([&] {
    shown = settingsWindow.tracks[c.bar];
    return ModalResult::kOk;
  });
  EXPECT_EQ(shown, c.position);
  EXPECT_EQ(Bits(Setting()), Bits(c.confirmed)) << Setting();
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Speed, TrackTest,
                         testing::Values(TrackCase{TrackBar::kSpeed, 0.95f, 90, 0.9f},
                                         TrackCase{TrackBar::kSpeed, 0.3f, 30, 0.3f},
                                         TrackCase{TrackBar::kSpeed, 0.2f, 20, 0.2f},
                                         TrackCase{TrackBar::kSpeed, 0.9f, 90, 0.9f},
                                         TrackCase{TrackBar::kSpeed, 0.456f, 46, 0.46f},
                                         TrackCase{TrackBar::kSpeed, 0.454f, 45, 0.45f},
                                         TrackCase{TrackBar::kSpeed, 0.1f, 20, 0.2f},
                                         TrackCase{TrackBar::kSpeed, 5.0f, 90, 0.9f},
                                         TrackCase{TrackBar::kSpeed, -3.0f, 20, 0.2f},
                                         TrackCase{TrackBar::kSpeed, 1e30f, 90, 0.9f},
                                         TrackCase{TrackBar::kSpeed, kInfinity, 90, 0.9f},
                                         TrackCase{TrackBar::kSpeed, kNaN, 20, 0.2f}));

INSTANTIATE_TEST_SUITE_P(Zoom, TrackTest,
                         testing::Values(TrackCase{TrackBar::kZoom, 0.2f, 20, 0.2f},
                                         TrackCase{TrackBar::kZoom, 0.0f, 0, 0.0f},
                                         TrackCase{TrackBar::kZoom, 1.0f, 100, 1.0f},
                                         TrackCase{TrackBar::kZoom, 0.07f, 7, 0.07f},
                                         TrackCase{TrackBar::kZoom, 0.995f, 100, 1.0f},
                                         TrackCase{TrackBar::kZoom, 0.004f, 0, 0.0f},
                                         TrackCase{TrackBar::kZoom, 1.5f, 100, 1.0f},
                                         TrackCase{TrackBar::kZoom, -0.2f, 0, 0.0f},
                                         TrackCase{TrackBar::kZoom, kNaN, 0, 0.0f}));

TEST(TrackValueTest, EveryPositionIsItsHundredthInSinglePrecision) {
  for (int position = 0; position <= 100; ++position) {
    const double exact = position / 100.0;
    const float value = settings::TrackValue(position);
    // The float nearest to the exact hundredth: no float is closer.
    EXPECT_LE(std::fabs(value - exact), std::fabs(std::nextafter(value, 2.0f) - exact));
    EXPECT_LE(std::fabs(value - exact), std::fabs(std::nextafter(value, -2.0f) - exact));
    EXPECT_EQ(settings::TrackPosition(value, settings::kZoomRange), position);
  }
}

TEST_F(SettingsDialogTest, TheStoredLanguageIsFoundWithoutRegardToCaseAndStoredAsSpelled) {
  WriteFile("Deutsch.lang", "");
  WriteFile("English.lang", "");
  desktop.listingOrder = {"Deutsch.lang", "English.lang"};
  StartAll();
  form.settings.languageName = "eNGLISH";
  int shown = -2;
  Open([&] {
    shown = settingsWindow.selected;
    return ModalResult::kOk;
  });
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(form.settings.languageName, "English");
}

TEST_F(SettingsDialogTest, TheChosenLanguageIsStored) {
  WriteFile("Deutsch.lang", "");
  WriteFile("English.lang", "");
  desktop.listingOrder = {"English.lang", "Deutsch.lang"};
  StartAll();
  Open([&] {
    settingsWindow.selected = 1;
    return ModalResult::kOk;
  });
  EXPECT_EQ(form.settings.languageName, "Deutsch");
  EXPECT_EQ(store.GetValue(settings::kKeyPath, "idioma")->data,
            (std::vector<std::uint8_t>{'D', 'e', 'u', 't', 's', 'c', 'h', 0}));
  // The first entry is an entry like any other.
  Open([&] {
    settingsWindow.selected = 0;
    return ModalResult::kOk;
  });
  EXPECT_EQ(form.settings.languageName, "English");
}

TEST_F(SettingsDialogTest, ALanguageWithoutAFileSelectsNothingAndIsKept) {
  WriteFile("English.lang", "");
  StartAll();
  form.settings.languageName = "Klingon";
  int shown = -2;
  Open([&] {
    shown = settingsWindow.selected;
    return ModalResult::kOk;
  });
  EXPECT_EQ(shown, -1);
  EXPECT_EQ(form.settings.languageName, "Klingon");
}

TEST_F(SettingsDialogTest, NoLanguageFilesLeaveTheNameAsItWas) {
  StartAll();
  Open([&] {
    // Whatever the window claims, there is no entry to take a name from.
    settingsWindow.selected = 0;
    return ModalResult::kOk;
  });
  EXPECT_TRUE(settingsWindow.languages.empty());
  EXPECT_EQ(form.settings.languageName, "English");
}

TEST_F(SettingsDialogTest, EachBoxIsCheckedExactlyWhenItsPathIsSet) {
  StartAll();
  form.settings.backgroundPath = "C:\\back.png";
  form.settings.topPath = "";
  form.settings.bottomPath = "D:\\bottom.jpg";
  settingsWindow.checks[PictureRow::kTopFace] = true;  // left over from an earlier opening
  Open([&] {
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "C:\\back.png");
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kBackground]);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kTopFace], "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kTopFace]);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBottomFace], "D:\\bottom.jpg");
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kBottomFace]);
    return ModalResult::kCancel;
  });
}

TEST_F(SettingsDialogTest, UncheckingClearsThePathAndCheckingAgainLeavesItEmpty) {
  StartAll();
  form.settings.backgroundPath = "C:\\back.png";
  Open([&] {
    settingsWindow.UserClicksCheck(PictureRow::kBackground);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kBackground]);
    settingsWindow.UserClicksCheck(PictureRow::kBackground);
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kBackground]);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    return ModalResult::kOk;
  });
  EXPECT_EQ(form.settings.backgroundPath, "");
  EXPECT_EQ(store.GetValue(settings::kKeyPath, "fondo")->data, std::vector<std::uint8_t>{0});
}

TEST_F(SettingsDialogTest, TypingChecksTheBoxAndDeletingUnchecksIt) {
  StartAll();
  Open([&] {
    settingsWindow.UserTypes(PictureRow::kBottomFace, "x");
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kBottomFace]);
    settingsWindow.UserTypes(PictureRow::kBottomFace, "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kBottomFace]);
    // The other rows are not touched.
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kTopFace]);
    return ModalResult::kCancel;
  });
}

TEST_F(SettingsDialogTest, PathsAreStoredExactlyAsTyped) {
  StartAll();
  Open([&] {
    settingsWindow.UserTypes(PictureRow::kBackground, "  %TEMP%\\back.png ");
    settingsWindow.UserTypes(PictureRow::kTopFace, "relative/top.BMP");
    settingsWindow.UserTypes(PictureRow::kBottomFace, "C:\\no such\\file.xyz");
    return ModalResult::kOk;
  });
  EXPECT_EQ(form.settings.backgroundPath, "  %TEMP%\\back.png ");
  EXPECT_EQ(form.settings.topPath, "relative/top.BMP");
  EXPECT_EQ(form.settings.bottomPath, "C:\\no such\\file.xyz");
}

TEST_F(SettingsDialogTest, BrowsingPutsThePickedFileInItsRowAndStartsFromItNextTime) {
  StartAll();
  Open([&] {
    pictures.answer = "C:\\Pictures\\top.jpg";
    settingsWindow.UserBrowses(PictureRow::kTopFace);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kTopFace], "C:\\Pictures\\top.jpg");
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kTopFace]);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    // Cancelled: nothing changes.
    pictures.answer.clear();
    settingsWindow.UserBrowses(PictureRow::kBackground);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kBackground]);
    pictures.answer = "C:\\Pictures\\bottom.png";
    settingsWindow.UserBrowses(PictureRow::kBottomFace);
    return ModalResult::kOk;
  });
  EXPECT_EQ(pictures.initialFiles,
            (std::vector<std::string>{"", "C:\\Pictures\\top.jpg", "C:\\Pictures\\top.jpg"}));
  EXPECT_EQ(form.settings.topPath, "C:\\Pictures\\top.jpg");
  EXPECT_EQ(form.settings.bottomPath, "C:\\Pictures\\bottom.png");
}

TEST_F(SettingsDialogTest, ThePictureDialogListsAllFirstThenEachFormat) {
  StartAll();
  Open([&] {
    settingsWindow.UserBrowses(PictureRow::kBackground);
    return ModalResult::kCancel;
  });
  const std::vector<platform::FileFilter> expected = {
      {"All", "*.bmp;*.ico;*.wmf;*.emf;*.jpg;*.jpeg;*.png"},
      {"Bitmaps (*.bmp)", "*.bmp"},
      {"Icons (*.ico)", "*.ico"},
      {"Metafiles (*.wmf)", "*.wmf"},
      {"Enhanced Metafiles (*.emf)", "*.emf"},
      {"JPEG Image File (*.jpg)", "*.jpg"},
      {"JPEG Image File (*.jpeg)", "*.jpeg"},
      {"Portable Network Graphics (*.png)", "*.png"},
  };
  ASSERT_EQ(pictures.lastFilters.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(pictures.lastFilters[i].description, expected[i].description) << i;
    EXPECT_EQ(pictures.lastFilters[i].patterns, expected[i].patterns) << i;
  }
}

TEST_F(SettingsDialogTest, CancelChangesNothingAndTheNextOpeningShowsTheStoredValues) {
  WriteFile("English.lang", "");
  WriteFile("Deutsch.lang", "");
  desktop.listingOrder = {"English.lang", "Deutsch.lang"};
  StartAll();
  form.imagesDirty = false;
  const settings::Settings before = form.settings;
  Open([&] {
    settingsWindow.selected = 1;
    settingsWindow.tracks[TrackBar::kSpeed] = 77;
    settingsWindow.tracks[TrackBar::kZoom] = 3;
    settingsWindow.UserTypes(PictureRow::kBackground, "C:\\x.png");
    return ModalResult::kCancel;
  });
  EXPECT_EQ(form.settings.languageName, before.languageName);
  EXPECT_EQ(Bits(form.settings.speed), Bits(before.speed));
  EXPECT_EQ(Bits(form.settings.zoom), Bits(before.zoom));
  EXPECT_EQ(form.settings.backgroundPath, "");
  EXPECT_FALSE(form.imagesDirty);
  EXPECT_TRUE(store.keys().empty());

  Open([&] {
    EXPECT_EQ(settingsWindow.selected, 0);
    EXPECT_EQ(settingsWindow.tracks[TrackBar::kSpeed], 30);
    EXPECT_EQ(settingsWindow.tracks[TrackBar::kZoom], 20);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kBackground]);
    return ModalResult::kCancel;
  });
}

TEST_F(SettingsDialogTest, ConfirmingWithoutChangeStillMarksThePicturesAndRewritesTheStore) {
  StartAll();
  form.imagesDirty = false;
  Confirm();
  EXPECT_TRUE(form.imagesDirty);
  const std::vector<std::string> order = {"idioma", "zoom",         "velocidad",
                                          "fondo",  "tapasuperior", "tapainferior"};
  EXPECT_EQ(store.write_log(), order);
  const auto firstSpeed = store.GetValue(settings::kKeyPath, "velocidad");
  // 0.3 in single precision, widened: 00 00 00 40 33 33 D3 3F.
  EXPECT_EQ(firstSpeed->data,
            (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x40, 0x33, 0x33, 0xD3, 0x3F}));

  form.imagesDirty = false;
  Confirm();
  EXPECT_TRUE(form.imagesDirty);
  EXPECT_EQ(store.write_log().size(), 12u);
  EXPECT_EQ(store.GetValue(settings::kKeyPath, "velocidad"), firstSpeed);
}

}  // namespace
