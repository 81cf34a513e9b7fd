#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "app/unitScreenshotDesktop.h"
#include "tests/unit/form_fixture.h"

namespace {

using StartupTest = FormTest;

std::vector<std::string> Without(const std::vector<std::string>& log, const std::string& prefix) {
  std::vector<std::string> kept;
  for (const std::string& line : log) {
    if (line.rfind(prefix, 0) != 0) kept.push_back(line);
  }
  return kept;
}

TEST_F(StartupTest, StartsInOrderAndPhotographsTheBareDesktop) {
  const auto notepad = desktop.AddWindow("Notepad", platform::Rect{10, 10, 400, 300});
  const auto hiddenTool = desktop.AddWindow("Tool", platform::Rect{0, 0, 50, 50}, false);
  form.FormCreate();

  const std::vector<std::string> expected = {
      // First run: the key is looked for and not found, before anything else.
      "store.open Software\\RomboDesktop",
      "gl.load",
      "tray.add",
      "hook.install",
      "foreground.watch",
      "signal.watch C:\\Temp\\rombodesktop.hook",
      "hotkey.register 1 3 37",
      "hotkey.register 2 3 39",
      // Ctrl+Alt+F1 to F4, Ctrl+Alt+Shift+Left and Right.
      "hotkey.register 11 3 112",
      "hotkey.register 12 3 113",
      "hotkey.register 13 3 114",
      "hotkey.register 14 3 115",
      "hotkey.register 21 7 37",
      "hotkey.register 22 7 39",
      "gl.pixelformat",
      "gl.context",
      MoveEntry(notepad, 0, 0, app::kBareDesktopHideFlags),
      "sleep 500",
      "capture 1024x768",
      MoveEntry(notepad, 0, 0, app::kBareDesktopShowFlags),
      "timer 1",
  };
  EXPECT_EQ(desktop.log, expected);
  // Windows that were open are visible again; the hidden one stays hidden.
  EXPECT_TRUE(desktop.Window(notepad).visible);
  EXPECT_FALSE(desktop.Window(hiddenTool).visible);
  // Start-up moves no window: it only hides and shows them in place.
  for (const platform::FakeMove& move : desktop.moves) {
    EXPECT_NE(move.flags & platform::kMoveNoMove, 0u);
  }

  // Faces 1 to 3 share the bare-desktop picture; face 0 waits for its session.
  const auto& faces = form.Faces().FaceBitmaps();
  EXPECT_TRUE(faces[0].Empty());
  for (int face = 1; face < 4; ++face) {
    EXPECT_EQ(faces[face].Width(), kWidth);
    EXPECT_EQ(faces[face].Height(), kHeight);
    EXPECT_EQ(faces[face].PixelAt(5, 5), 0x010101u);
  }
  EXPECT_TRUE(form.ImagesDirty());
  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 0);
  EXPECT_EQ(form.LastForeground(), platform::kNoWindow);
}

TEST_F(StartupTest, FirstRunTakesTheDefaultsAndCreatesNoKey) {
  form.FormCreate();
  EXPECT_EQ(form.Settings().languageName, "English");
  EXPECT_FLOAT_EQ(form.Settings().speed, 0.3f);
  EXPECT_FLOAT_EQ(form.Settings().zoom, 0.2f);
  EXPECT_TRUE(form.Settings().backgroundPath.empty());
  EXPECT_TRUE(store.keys().empty());
}

TEST_F(StartupTest, StoredSettingsAreReadBeforeAnythingStarts) {
  store.SetValue("Software\\RomboDesktop", "idioma", platform::kTypeString,
                 {'E', 's', 'p', 'a', 'n', 'o', 'l', 0});
  form.FormCreate();
  EXPECT_EQ(form.Settings().languageName, "Espanol");
}

TEST_F(StartupTest, AllSixSettingsAreReadBeforeAnythingElseStarts) {
  const std::string key = "Software\\RomboDesktop";
  for (const char* text : {"idioma", "fondo", "tapasuperior", "tapainferior"}) {
    store.SetValue(key, text, platform::kTypeString, {'x', 0});
  }
  for (const char* number : {"velocidad", "zoom"}) {
    store.SetValue(key, number, platform::kTypeBinary, std::vector<std::uint8_t>(8, 0));
  }
  form.FormCreate();

  std::vector<std::string> reads;
  std::size_t lastStoreEntry = 0;
  for (std::size_t i = 0; i < desktop.log.size(); ++i) {
    const std::string& line = desktop.log[i];
    if (line.rfind("store.", 0) != 0) continue;
    lastStoreEntry = i;
    if (line.rfind("store.read ", 0) == 0) reads.push_back(line.substr(11));
  }
  const std::vector<std::string> order = {"idioma", "velocidad",    "zoom",
                                          "fondo",  "tapasuperior", "tapainferior"};
  EXPECT_EQ(reads, order);
  ASSERT_FALSE(desktop.log.empty());
  EXPECT_EQ(desktop.log.front(), "store.open " + key);
  // Nothing of the rest of start-up happened before the last read.
  for (std::size_t i = 0; i < lastStoreEntry; ++i) {
    EXPECT_EQ(desktop.log[i].rfind("store.", 0), 0u) << desktop.log[i];
  }
}

// The stack of windows and the active one are as they were: shown again in
// place without activation, then the foreground given back. The shell's
// windows on every desktop stay on the picture.
TEST_F(StartupTest, BareDesktopPictureLeavesTheDesktopAsItFoundIt) {
  const auto first = desktop.AddWindow("First", platform::Rect{10, 10, 400, 300});
  const auto hidden = desktop.AddWindow("Hidden", platform::Rect{0, 0, 50, 50}, false);
  const auto second = desktop.AddWindow("Second", platform::Rect{500, 10, 700, 300});
  desktop.AddWindow("Shell_SecondaryTrayWnd", platform::Rect{1024, 738, 2048, 768});
  const auto icons = desktop.AddWindow("WorkerW", platform::Rect{0, 0, 1024, 768});
  desktop.Window(icons).childClasses = {"SHELLDLL_DefView"};
  const auto wallpaper = desktop.AddWindow("WorkerW", platform::Rect{0, 0, 1024, 768});
  const auto cloaked = desktop.AddWindow("Cloaked", platform::Rect{20, 20, 300, 300});
  desktop.Window(cloaked).cloaked = true;
  desktop.foreground = second;
  form.FormCreate();

  // The active window is hidden last, once no other is left for the system
  // to activate, and raise, in its place.
  const std::vector<std::string> expected = {MoveEntry(first, 0, 0, app::kBareDesktopHideFlags),
                                             MoveEntry(wallpaper, 0, 0, app::kBareDesktopHideFlags),
                                             MoveEntry(second, 0, 0, app::kBareDesktopHideFlags),
                                             "sleep 500",
                                             "capture 1024x768",
                                             MoveEntry(first, 0, 0, app::kBareDesktopShowFlags),
                                             MoveEntry(second, 0, 0, app::kBareDesktopShowFlags),
                                             MoveEntry(wallpaper, 0, 0, app::kBareDesktopShowFlags),
                                             "activate " + std::to_string(second)};
  std::vector<std::string> picture;
  for (const std::string& line : desktop.log) {
    if (line.rfind("move ", 0) == 0 || line.rfind("activate ", 0) == 0 || line == "sleep 500" ||
        line.rfind("capture ", 0) == 0) {
      picture.push_back(line);
    }
  }
  EXPECT_EQ(picture, expected);
  EXPECT_FALSE(desktop.Window(hidden).visible);
  EXPECT_EQ(desktop.foreground, second);
  // Shown again without reordering, activating or waiting for anyone.
  for (std::uint32_t flags : {app::kBareDesktopHideFlags, app::kBareDesktopShowFlags}) {
    EXPECT_EQ(flags & (platform::kMoveNoZOrder | platform::kMoveNoActivate | platform::kMoveAsync),
              platform::kMoveNoZOrder | platform::kMoveNoActivate | platform::kMoveAsync);
  }
}

// The start-up picture shows its windows again on every road out: here the
// picture's allocation fails. Until then the watcher knows of them.
TEST_F(StartupTest, BareDesktopPictureShowsItsWindowsWhenItFails) {
  const auto first = desktop.AddWindow("First", platform::Rect{10, 10, 400, 300});
  const auto parked = desktop.AddWindow("Parked", platform::Rect{1500, 10, 1700, 300});
  std::vector<platform::WindowHandle> watched;
  desktop.onCapture = [&] {
    watched = desktop.watchedHidden;
    throw std::bad_alloc();
  };
  EXPECT_THROW(form.FormCreate(), std::bad_alloc);
  EXPECT_EQ(watched, (std::vector<platform::WindowHandle>{first, parked}));
  EXPECT_TRUE(desktop.Window(first).visible);
  EXPECT_TRUE(desktop.Window(parked).visible);
  EXPECT_TRUE(desktop.watchedHidden.empty());
}

// A run that ended mid-session before its watcher could help left the
// taskbar hidden; the next start shows it, and says so in the log.
TEST_F(StartupTest, StartShowsAHiddenTaskbar) {
  desktop.Window(taskbar).visible = false;
  form.FormCreate();
  EXPECT_TRUE(desktop.Window(taskbar).visible);
  EXPECT_TRUE(desktop.faultLog.Has("taskbar was hidden"));
}

TEST_F(StartupTest, ShutdownReleasesEverythingInOrder) {
  Start();
  form.FormClose();
  form.FormDestroy();
  const std::vector<std::string> expected = {"hotkey.unregister 1",
                                             "hotkey.unregister 2",
                                             "hotkey.unregister 11",
                                             "hotkey.unregister 12",
                                             "hotkey.unregister 13",
                                             "hotkey.unregister 14",
                                             "hotkey.unregister 21",
                                             "hotkey.unregister 22",
                                             "tray.remove",
                                             "hook.uninstall",
                                             "foreground.unwatch",
                                             "signal.unwatch",
                                             "gl.delete"};
  EXPECT_EQ(desktop.log, expected);
  EXPECT_TRUE(desktop.hotkeys.empty());
  // With no window parked nothing is moved, and the taskbar is left as it is.
  EXPECT_TRUE(desktop.moves.empty());
}

TEST_F(StartupTest, ClosingMidSessionBringsTheTaskbarBack) {
  desktop.AddWindow("Notepad", platform::Rect{10, 10, 400, 300});
  Start();
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  ASSERT_TRUE(form.SessionActive());
  ASSERT_FALSE(desktop.Window(taskbar).visible);

  form.FormClose();
  form.FormDestroy();
  EXPECT_TRUE(desktop.Window(taskbar).visible);
  // The session had moved no window yet, so gathering moves none either.
  for (const platform::FakeMove& move : desktop.moves) EXPECT_EQ(move.window, taskbar);
  EXPECT_EQ(Without(desktop.log, "cube.").back(), "gl.delete");
}

TEST_F(StartupTest, QuitClosesTheMainWindow) {
  Start();
  bool closed = false;
  desktop.onClose = [&] { closed = true; };
  form.mnuTraySalirClick();
  EXPECT_TRUE(closed);
}

}  // namespace
