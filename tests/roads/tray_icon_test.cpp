// The tray icon while the taskbar is missing, and the balloons that tell the
// user which hotkeys another program holds and which window stays on every
// desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialogs_fixture.h"

namespace {

constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;
const std::string kTail =
    ". Ctrl+Alt with a left-button drag, and the taskbar, still switch desktops.";
const std::string kLeftTaken = "tray.balloon Another program holds Ctrl+Alt+Left" + kTail;

class TrayIconTest : public DialogsTest {
 protected:
  // What reached the tray since the log was last cleared.
  std::vector<std::string> TrayLog() {
    std::vector<std::string> lines;
    for (const std::string& line : desktop.log) {
      if (line.rfind("tray.", 0) == 0) lines.push_back(line);
    }
    desktop.log.clear();
    return lines;
  }
  void TickAt(std::uint32_t tick) {
    desktop.tick = tick;
    TimerTick();
  }
};

struct TakenCase {
  std::vector<std::uint32_t> held;
  std::vector<std::string> tray;
  // Other combinations held (modifiers, key).
  std::vector<std::pair<std::uint32_t, std::uint32_t>> combinations = {};
};

class TakenHotkeysTest : public TrayIconTest, public testing::WithParamInterface<TakenCase> {};

TEST_P(TakenHotkeysTest, OneBalloonOnceBothRegistrationsWereTriedNamesTheTakenOnes) {
  for (const std::uint32_t key : GetParam().held) desktop.keysHeldElsewhere.insert(key);
  for (const auto& held : GetParam().combinations) desktop.combinationsHeldElsewhere.insert(held);
  form.FormCreate();
  // No balloon before both registrations were tried.
  const auto registered =
      std::find(desktop.log.begin(), desktop.log.end(), "hotkey.register 2 3 39");
  EXPECT_EQ(
      std::count_if(desktop.log.begin(), registered,
                    [](const std::string& line) { return line.rfind("tray.balloon", 0) == 0; }),
      0);
  EXPECT_EQ(TrayLog(), GetParam().tray);
  EXPECT_EQ(desktop.faultLog.lines().size(), GetParam().tray.size() - 1);
  // Not again when the shell restarts.
  form.WMTaskbarCreated();
  EXPECT_EQ(TrayLog(), std::vector<std::string>{"tray.add"});
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TakenHotkeysTest,
    testing::Values(
        TakenCase{{}, {"tray.add"}}, TakenCase{{kVkLeft}, {"tray.add", kLeftTaken}},
        TakenCase{{kVkRight},
                  {"tray.add", "tray.balloon Another program holds Ctrl+Alt+Right" + kTail}},
        TakenCase{{kVkLeft, kVkRight},
                  {"tray.add",
                   "tray.balloon Another program holds Ctrl+Alt+Left, Ctrl+Alt+Right" + kTail}},
        // The new combinations are named in the same balloon, also alone.
        TakenCase{{kVkLeft},
                  {"tray.add",
                   "tray.balloon Another program holds Ctrl+Alt+Left, Ctrl+Alt+F3, "
                   "Ctrl+Alt+Shift+Right" +
                       kTail},
                  {{3, 0x72}, {7, kVkRight}}},
        TakenCase{{},
                  {"tray.add", "tray.balloon Another program holds Ctrl+Alt+F1" + kTail},
                  {{3, 0x70}}}));

TEST_F(TrayIconTest, TheBalloonSpeaksTheSettingsLanguageOrTheBuiltInText) {
  store.SetValue("Software\\RomboDesktop", "idioma", platform::kTypeString,
                 {'D', 'e', 'u', 't', 's', 'c', 'h', 0});
  WriteFile("Deutsch.lang", "<Hotkeys>\nTaken Belegt: %s (%s)\n</Hotkeys>\n");
  WriteFile("English.lang", "<Hotkeys>\nTaken Taken: %s\n</Hotkeys>\n");
  desktop.keysHeldElsewhere.insert(kVkRight);
  form.FormCreate();
  EXPECT_EQ(TrayLog(), (std::vector<std::string>{
                           "tray.add", "tray.balloon Belegt: Ctrl+Alt+Right (Ctrl+Alt+Right)"}));
  // A file that cannot be read stops neither the balloon nor the start-up.
  WriteFile("Deutsch.lang", "<Hotkeys>\nTaken Belegt, neu: %s\n</Hotkeys>\n");
  form.FormClose();
  desktop.locked.insert(BesideExe("Deutsch.lang"));
  desktop.keysHeldElsewhere.insert(kVkLeft);
  desktop.keysHeldElsewhere.erase(kVkRight);
  form.FormCreate();
  EXPECT_EQ(desktop.log.back(), "timer " + std::to_string(app::kSessionTickMs));
  EXPECT_EQ(TrayLog(), (std::vector<std::string>{"tray.add", kLeftTaken}));
  EXPECT_TRUE(desktop.faultLog.Has("language file not read"));
}

TEST_F(TrayIconTest, AMissingTaskbarIsTriedEverySecondAndTheBalloonWaitsForIt) {
  desktop.taskbarReady = false;
  desktop.keysHeldElsewhere.insert(kVkLeft);
  desktop.tick = 5000;
  form.FormCreate();
  EXPECT_EQ(TrayLog(), std::vector<std::string>{"tray.add"});
  TickAt(5999);
  EXPECT_TRUE(TrayLog().empty());
  TickAt(6000);
  EXPECT_EQ(TrayLog(), std::vector<std::string>{"tray.add"});
  // Idle, the timer wakes the program only to try again.
  EXPECT_EQ(desktop.tickInterval, app::kTrayRetryMs);
  desktop.taskbarReady = true;
  TickAt(6999);
  EXPECT_TRUE(TrayLog().empty());
  TickAt(7000);
  EXPECT_EQ(TrayLog(), (std::vector<std::string>{"tray.add", kLeftTaken}));
  // Once it is there, the ticks leave the shell alone, and the timer stops.
  for (std::uint32_t tick = 8000; tick < 20000; tick += 500) TickAt(tick);
  EXPECT_TRUE(TrayLog().empty());
  EXPECT_EQ(desktop.tickInterval, 0u);
}

// Elevated, the program says so once, in the log and a balloon; with a
// balloon of taken hotkeys waiting for the icon too, each on a line.
TEST_F(TrayIconTest, AnElevatedStartSaysSoOnce) {
  const std::string elevated = lang::kRunsElevated.defaultText;
  desktop.elevated = true;
  desktop.taskbarReady = false;
  desktop.keysHeldElsewhere.insert(kVkLeft);
  desktop.tick = 5000;
  form.FormCreate();
  const auto saidElevated = [this] {
    const std::vector<std::string>& lines = desktop.faultLog.lines();
    return std::count(lines.begin(), lines.end(), "Runs with administrator rights; it should not");
  };
  EXPECT_EQ(saidElevated(), 1);
  desktop.taskbarReady = true;
  TrayLog();
  TickAt(5000 + app::kTrayRetryMs);
  EXPECT_EQ(TrayLog(), (std::vector<std::string>{"tray.add", kLeftTaken + "\n" + elevated}));
  for (std::uint32_t tick = 7000; tick < 20000; tick += 500) TickAt(tick);
  EXPECT_TRUE(TrayLog().empty());
  EXPECT_EQ(saidElevated(), 1);
}

struct Session {
  std::vector<int> keys;  // pressed in one session
  std::string number;     // on the icon afterwards
  int changes;            // of the icon since start-up
};

// The icon shows the current desktop from the start and changes at the end
// of a session that changed the desktop, and only then: four switches on
// bring back the picture of the start.
TEST_F(TrayIconTest, TheIconShowsTheDesktopAndChangesOnlyWithIt) {
  StartAll();
  EXPECT_EQ(desktop.trayTip, "RomboDesktop - desktop 1");
  EXPECT_EQ(desktop.trayIconChanges, 1);
  const std::vector<std::uint8_t> first = desktop.trayPicture.pixels;
  const std::vector<Session> sessions = {
      {{app::kHotkeyRight}, "2", 2},
      {{app::kHotkeyGoTo1 + 1}, "2", 2},  // the desktop shown: no session
      {{app::kHotkeyRight, app::kHotkeyLeft}, "2", 2},
      {{app::kHotkeyGoTo1 + 3}, "4", 3},
      {{app::kHotkeyCarryRight}, "1", 4},
  };
  for (const Session& session : sessions) {
    for (const int key : session.keys) form.WMHotKey(key);
    RunUntilHidden();
    EXPECT_EQ(desktop.trayTip, "RomboDesktop - desktop " + session.number);
    EXPECT_EQ(desktop.trayIconChanges, session.changes);
    EXPECT_EQ(desktop.trayPicture.pixels == first, session.number == "1") << session.number;
  }
  // An icon the system refuses is logged; the program goes on.
  desktop.trayIconRefused = true;
  Switch();
  EXPECT_TRUE(desktop.faultLog.Has("tray icon: desktop 2 could not be shown"));
}

// The tip's words come from the language file, at start and at every
// notification of the icon, without a session.
TEST_F(TrayIconTest, TheTipSpeaksTheLanguageOfTheLastNotification) {
  WriteFile("English.lang", "<TrayIcon>\nDesktop screen %s of four\n</TrayIcon>\n");
  StartAll();
  EXPECT_EQ(desktop.trayTip, "RomboDesktop - screen 1 of four");
  const std::vector<std::uint8_t> picture = desktop.trayPicture.pixels;
  WriteFile("English.lang", "");
  form.WMTrayIcon(platform::kMouseMove);
  EXPECT_EQ(desktop.trayTip, "RomboDesktop - desktop 1");
  EXPECT_EQ(desktop.trayPicture.pixels, picture);
  form.WMTrayIcon(platform::kMouseMove);
  EXPECT_EQ(desktop.trayIconChanges, 2);
}

// Windows of programs run as administrator are never moved: not by a
// switch, not after a display change. Once the first session has ended, with
// the taskbar back, one balloon names the first of them, once per start.
TEST_F(TrayIconTest, AWindowRunAsAdministratorStaysAndIsNamedOnce) {
  const auto first = desktop.AddWindow("Console", platform::Rect{1100, 20, 1500, 320});
  const auto second = desktop.AddWindow("Editor", platform::Rect{10, 20, 410, 320});
  desktop.Window(first).aboveOwnIntegrity = true;
  desktop.Window(first).title = "Administrator: Console";
  desktop.Window(second).aboveOwnIntegrity = true;
  const auto plain = desktop.AddWindow("Plain", platform::Rect{10, 20, 410, 320});
  form.FormCreate();
  TrayLog();
  desktop.moves.clear();
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(TrayLog(), std::vector<std::string>{});
  while (form.SessionActive()) TickAt(desktop.tick + 10);
  EXPECT_EQ(TrayLog(), std::vector<std::string>{
                           "tray.balloon The window \"Administrator: Console\" belongs to a "
                           "program run as administrator, which Windows does not let Rombo "
                           "Desktop move. Windows of programs run as administrator stay on "
                           "every desktop."});
  EXPECT_TRUE(desktop.faultLog.Has("runs as administrator: \"Administrator: Console\""));
  form.WMHotKey(app::kHotkeyRight);
  while (form.SessionActive()) TickAt(desktop.tick + 10);
  form.WMDisplayChange();
  desktop.UseMonitors({{{0, 0, 1280, 1024}, {0, 0, 1280, 1024}}});
  TickAt(desktop.tick + app::kDisplaysStillMs);
  EXPECT_EQ(TrayLog(), std::vector<std::string>{});
  for (const platform::FakeMove& move : desktop.moves) {
    EXPECT_TRUE(move.window != first && move.window != second);
  }
  EXPECT_EQ(desktop.Window(plain).rect.left, 10 + 2 * 1280);
}

}  // namespace
