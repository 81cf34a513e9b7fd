// The settings dialog on its own: its language list, the track bars, the
// check box and edit rules and browsing, as the settings command fills it and
// reads it back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "settings/Unit2.h"
#include "settings/settings_store.h"
#include "settings/track_values.h"
#include "tests/common/settings_checks.h"
#include "tests/support/fake/fake_desktop.h"
#include "tests/support/fake/fake_dialogs.h"

namespace {

using platform::PictureRow;
using platform::TrackBar;

using settings::testing_support::BitsOf;

// The dialog over a fake window, with language files beside the fake
// executable.
class SettingsDialogTest : public testing::Test {
 protected:
  SettingsDialogTest() : opciones(settingsWindow, files, pictures) {}

  void WriteFile(const std::string& name) { files.files.insert(files.executableDirectory + name); }

  // The settings command's steps: the dialog filled from `from`, the user's
  // actions, and what OK reads back.
  settings::Settings Confirmed(
      const settings::Settings& from, const std::function<void()>& user = [] {}) {
    opciones.Fill(from);
    user();
    settings::Settings to = from;
    opciones.Apply(&to);
    return to;
  }

  platform::FakeDesktop files;
  platform::FakeSettingsWindow settingsWindow;
  platform::FakePictureDialog pictures;
  settings::TfrmOpciones opciones;
};

TEST_F(SettingsDialogTest, ListsEveryLangEntryInFileSystemOrderWithoutItsLastExtension) {
  for (const char* name : {"Zulu.lang", "English.lang", "My.Language.lang", "Readme.lang.txt",
                           "Shout.LANG", "notes.txt"}) {
    WriteFile(name);
  }
  files.files.insert("C:\\Elsewhere\\Other.lang");
  files.directories.insert(files.executableDirectory + "Folder.lang");
  files.listingOrder = {"Zulu.lang", "Shout.LANG", "English.lang", "Folder.lang",
                        "My.Language.lang"};
  opciones.FormCreate();
  const std::vector<std::string> expected = {"Zulu", "Shout", "English", "Folder", "My.Language"};
  EXPECT_EQ(opciones.Languages(), expected);
  EXPECT_EQ(settingsWindow.languages, expected);
}

TEST_F(SettingsDialogTest, TheListIsBuiltOnceAtCreation) {
  WriteFile("English.lang");
  opciones.FormCreate();
  WriteFile("Deutsch.lang");
  Confirmed(settings::Settings());
  EXPECT_EQ(settingsWindow.languages, std::vector<std::string>{"English"});
}

TEST(LanguageNameTest, DropsOnlyTheLastExtension) {
  EXPECT_EQ(settings::WithoutLastExtension("English.lang"), "English");
  EXPECT_EQ(settings::WithoutLastExtension("My.Language.lang"), "My.Language");
  EXPECT_EQ(settings::WithoutLastExtension(".lang"), "");
  EXPECT_EQ(settings::WithoutLastExtension("NoDot"), "NoDot");
}

// The entry shown for the stored language, and the name OK gives after the
// user's pick (kKeep: none).
constexpr int kKeep = -2;
struct LanguageCase {
  std::string stored;
  std::vector<std::string> listed;
  int picked;
  int shown;
  std::string confirmed;
};

class LanguageTest : public SettingsDialogTest, public testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageTest, ShowsTheStoredLanguageAndGivesThePickedOneAsTheFileSpellsIt) {
  const LanguageCase& c = GetParam();
  for (const std::string& name : c.listed) {
    WriteFile(name + ".lang");
    files.listingOrder.push_back(name + ".lang");
  }
  opciones.FormCreate();
  settings::Settings from;
  from.languageName = c.stored;
  int shown = kKeep;
  const settings::Settings to = Confirmed(from, [&] {
    shown = settingsWindow.selected;
    if (c.picked != kKeep) settingsWindow.selected = c.picked;
  });
  EXPECT_EQ(shown, c.shown);
  EXPECT_EQ(to.languageName, c.confirmed);
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageTest,
                         testing::Values(
                             // Found without regard to case, given back as the file spells it.
                             LanguageCase{"eNGLISH", {"Deutsch", "English"}, kKeep, 1, "English"},
                             LanguageCase{"English", {"English", "Deutsch"}, 1, 0, "Deutsch"},
                             // The first entry is an entry like any other.
                             LanguageCase{"Deutsch", {"English", "Deutsch"}, 0, 1, "English"},
                             // No file of that name: nothing selected, the name kept.
                             LanguageCase{"Klingon", {"English"}, kKeep, -1, "Klingon"},
                             // No files at all: whatever the window claims, no entry to take.
                             LanguageCase{"English", {}, 0, -1, "English"}));

struct TrackCase {
  TrackBar bar;
  float stored;
  int position;
  float confirmed;
};

class TrackTest : public SettingsDialogTest, public testing::WithParamInterface<TrackCase> {
 protected:
  static float& Setting(settings::Settings& s) {
    return GetParam().bar == TrackBar::kSpeed ? s.speed : s.zoom;
  }
};

TEST_P(TrackTest, ShowsTheRoundedLimitedPositionAndGivesItBack) {
  const TrackCase& c = GetParam();
  settings::Settings from;
  Setting(from) = c.stored;
  int shown = -1;
  settings::Settings to = Confirmed(from, [&] { shown = settingsWindow.tracks[c.bar]; });
  EXPECT_EQ(shown, c.position);
  EXPECT_EQ(BitsOf(Setting(to)), BitsOf(c.confirmed)) << Setting(to);
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

TEST_F(SettingsDialogTest, EachBoxIsCheckedExactlyWhenItsPathIsSet) {
  settings::Settings from;
  from.backgroundPath = "C:\\back.png";
  from.bottomPath = "D:\\bottom.jpg";
  settingsWindow.checks[PictureRow::kTopFace] = true;  // left over from an earlier opening
  opciones.Fill(from);
  EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "C:\\back.png");
  EXPECT_TRUE(settingsWindow.checks[PictureRow::kBackground]);
  EXPECT_EQ(settingsWindow.paths[PictureRow::kTopFace], "");
  EXPECT_FALSE(settingsWindow.checks[PictureRow::kTopFace]);
  EXPECT_EQ(settingsWindow.paths[PictureRow::kBottomFace], "D:\\bottom.jpg");
  EXPECT_TRUE(settingsWindow.checks[PictureRow::kBottomFace]);
}

TEST_F(SettingsDialogTest, UncheckingClearsThePathAndCheckingAgainLeavesItEmpty) {
  settings::Settings from;
  from.backgroundPath = "C:\\back.png";
  const settings::Settings to = Confirmed(from, [&] {
    settingsWindow.UserClicksCheck(PictureRow::kBackground);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
    EXPECT_FALSE(settingsWindow.checks[PictureRow::kBackground]);
    settingsWindow.UserClicksCheck(PictureRow::kBackground);
    EXPECT_TRUE(settingsWindow.checks[PictureRow::kBackground]);
    EXPECT_EQ(settingsWindow.paths[PictureRow::kBackground], "");
  });
  EXPECT_EQ(to.backgroundPath, "");
}

TEST_F(SettingsDialogTest, TypingChecksTheBoxAndDeletingUnchecksIt) {
  opciones.Fill(settings::Settings());
  settingsWindow.UserTypes(PictureRow::kBottomFace, "x");
  EXPECT_TRUE(settingsWindow.checks[PictureRow::kBottomFace]);
  settingsWindow.UserTypes(PictureRow::kBottomFace, "");
  EXPECT_FALSE(settingsWindow.checks[PictureRow::kBottomFace]);
  // The other rows are not touched.
  EXPECT_FALSE(settingsWindow.checks[PictureRow::kTopFace]);
}

TEST_F(SettingsDialogTest, PathsAreGivenBackExactlyAsTyped) {
  const settings::Settings to = Confirmed(settings::Settings(), [&] {
    settingsWindow.UserTypes(PictureRow::kBackground, "  %TEMP%\\back.png ");
    settingsWindow.UserTypes(PictureRow::kTopFace, "relative/top.BMP");
    settingsWindow.UserTypes(PictureRow::kBottomFace, "C:\\no such\\file.xyz");
  });
  EXPECT_EQ(to.backgroundPath, "  %TEMP%\\back.png ");
  EXPECT_EQ(to.topPath, "relative/top.BMP");
  EXPECT_EQ(to.bottomPath, "C:\\no such\\file.xyz");
}

TEST_F(SettingsDialogTest, BrowsingPutsThePickedFileInItsRowAndStartsFromItNextTime) {
  const settings::Settings to = Confirmed(settings::Settings(), [&] {
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
  });
  EXPECT_EQ(pictures.initialFiles,
            (std::vector<std::string>{"", "C:\\Pictures\\top.jpg", "C:\\Pictures\\top.jpg"}));
  EXPECT_EQ(to.topPath, "C:\\Pictures\\top.jpg");
  EXPECT_EQ(to.bottomPath, "C:\\Pictures\\bottom.png");
}

TEST_F(SettingsDialogTest, ThePictureDialogListsAllFirstThenEachFormat) {
  settingsWindow.UserBrowses(PictureRow::kBackground);
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

}  // namespace
