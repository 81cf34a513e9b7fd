// The tray icon while the taskbar is missing, and the balloon that tells the
// user which hotkeys another program holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs_fixture.h"

namespace {

constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;

class TrayIconTest : public DialogsTest {
 protected:
  // The lines of the log that start so.
  std::vector<std::string> Logged(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : desktop.log) {
      if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    }
    return lines;
  }
  // One timer tick at `tick` milliseconds with the cube hidden.
  void TickAt(std::uint32_t tick) {
    desktop.tick = tick;
    form.Timer1Timer();
  }
};

struct TakenCase {
  std::vector<std::uint32_t> held;
  std::vector<std::string> balloons;
};

class TakenHotkeysTest : public TrayIconTest, public testing::WithParamInterface<TakenCase> {};

TEST_P(TakenHotkeysTest, OneBalloonNamesTheCombinationsAnotherProgramHolds) {
  for (const std::uint32_t key : GetParam().held) desktop.keysHeldElsewhere.insert(key);
  form.FormCreate();
  EXPECT_EQ(Logged("tray.balloon "), GetParam().balloons);
  // Only once both registrations have been tried.
  const auto balloon =
      std::find_if(desktop.log.begin(), desktop.log.end(),
                   [](const std::string& line) { return line.rfind("tray.balloon ", 0) == 0; });
  if (balloon != desktop.log.end()) {
    EXPECT_EQ(*(balloon - 1), "hotkey.register 2 3 39");
  }
  // Not again when the shell restarts.
  desktop.log.clear();
  form.WMTaskbarCreated();
  EXPECT_TRUE(Logged("tray.balloon ").empty());
}

const std::string kTail =
    ". Ctrl+Alt with a left-button drag, and the taskbar, still switch desktops.";

INSTANTIATE_TEST_SUITE_P(
    Keys, TakenHotkeysTest,
    testing::Values(
        TakenCase{{}, {}},
        TakenCase{{kVkLeft}, {"tray.balloon Another program holds Ctrl+Alt+Left" + kTail}},
        TakenCase{{kVkRight}, {"tray.balloon Another program holds Ctrl+Alt+Right" + kTail}},
        TakenCase{{kVkLeft, kVkRight},
                  {"tray.balloon Another program holds Ctrl+Alt+Left, Ctrl+Alt+Right" + kTail}}));

TEST_F(TrayIconTest, TheBalloonSpeaksTheLanguageOfTheSettings) {
  store.SetValue("Software\\RomboDesktop", "idioma", platform::kTypeString,
                 {'D', 'e', 'u', 't', 's', 'c', 'h', 0});
  WriteFile("Deutsch.lang", "<Hotkeys>\nTaken Belegt: %s (%s)\n</Hotkeys>\n");
  WriteFile("English.lang", "<Hotkeys>\nTaken Taken: %s\n</Hotkeys>\n");
  desktop.keysHeldElsewhere.insert(kVkRight);
  form.FormCreate();
  EXPECT_EQ(Logged("tray.balloon "),
            std::vector<std::string>{"tray.balloon Belegt: Ctrl+Alt+Right (Ctrl+Alt+Right)"});
}

TEST_F(TrayIconTest, AnUnreadableLanguageFileGivesTheBuiltInTextAndStartUpGoesOn) {
  WriteFile("English.lang", "<Hotkeys>\nTaken Taken: %s\n</Hotkeys>\n");
  desktop.locked.insert(BesideExe("English.lang"));
  desktop.keysHeldElsewhere.insert(kVkLeft);
  form.FormCreate();
  EXPECT_EQ(Logged("tray.balloon "),
            std::vector<std::string>{"tray.balloon Another program holds Ctrl+Alt+Left" + kTail});
  EXPECT_EQ(desktop.log.back(), "timer 16");
}

TEST_F(TrayIconTest, AMissingTaskbarIsTriedEverySecondUntilTheIconIsThere) {
  desktop.taskbarReady = false;
  desktop.keysHeldElsewhere.insert(kVkLeft);
  desktop.tick = 5000;
  form.FormCreate();
  // Nothing to show the balloon from yet.
  EXPECT_EQ(Logged("tray."), std::vector<std::string>{"tray.add"});
  desktop.log.clear();
  TickAt(5999);
  EXPECT_TRUE(Logged("tray.").empty());
  TickAt(6000);
  EXPECT_EQ(Logged("tray."), std::vector<std::string>{"tray.add"});

  desktop.taskbarReady = true;
  desktop.log.clear();
  TickAt(6999);
  EXPECT_TRUE(Logged("tray.").empty());
  TickAt(7000);
  EXPECT_EQ(Logged("tray."),
            (std::vector<std::string>{"tray.add",
                                      "tray.balloon Another program holds Ctrl+Alt+Left" + kTail}));
  // Once it is there, the ticks leave the shell alone.
  desktop.log.clear();
  for (std::uint32_t tick = 8000; tick < 20000; tick += 500) TickAt(tick);
  EXPECT_TRUE(Logged("tray.").empty());
}

TEST_F(TrayIconTest, TheTaskbarComingUpBringsTheIconAndTheWaitingBalloonAtOnce) {
  desktop.taskbarReady = false;
  desktop.keysHeldElsewhere.insert(kVkRight);
  form.FormCreate();
  desktop.taskbarReady = true;
  desktop.log.clear();
  form.WMTaskbarCreated();
  EXPECT_EQ(Logged("tray."),
            (std::vector<std::string>{
                "tray.add", "tray.balloon Another program holds Ctrl+Alt+Right" + kTail}));
  desktop.log.clear();
  TickAt(desktop.tick + app::kTrayRetryMs);
  EXPECT_TRUE(Logged("tray.").empty());
}

}  // namespace
