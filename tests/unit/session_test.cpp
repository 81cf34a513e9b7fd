#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "desktops/motion.h"
#include "form_fixture.h"

namespace {

class SessionTest : public FormTest {
 protected:
  void SetUp() override {
    left = desktop.AddWindow("Left", platform::Rect{10, 20, 410, 320});
    right = desktop.AddWindow("Right", platform::Rect{600, 20, 900, 320});
    layered = desktop.AddWindow("Layered", platform::Rect{100, 100, 200, 200}, true,
                                platform::kExStyleLayered);
    invisible = desktop.AddWindow("Invisible", platform::Rect{300, 300, 400, 400}, false);
    parkedNext = desktop.AddWindow("Next", platform::Rect{1100, 20, 1300, 320});
    Start();
  }

  int MovesOf(platform::WindowHandle window) {
    return static_cast<int>(
        std::count_if(desktop.moves.begin(), desktop.moves.end(),
                      [&](const platform::FakeMove& m) { return m.window == window; }));
  }

  std::string SignalFile() { return desktop.tempPath + app::kSignalFileName; }

  platform::WindowHandle left, right, layered, invisible, parkedNext;
};

TEST_F(SessionTest, OneSwitchRunsItsWholeRoad) {
  desktop.cursor = {500, 400};
  form.WMHotKey(app::kHotkeyRight);

  // The session is open, the nested tick has snapped, the quarter turn aimed.
  EXPECT_TRUE(form.sessionActive);
  EXPECT_TRUE(desktop.IsVisible());
  EXPECT_FALSE(form.mouseTurning);
  EXPECT_EQ(form.currentDesktop, 1);
  EXPECT_FLOAT_EQ(form.targetYaw, -90);
  EXPECT_FLOAT_EQ(form.shownYaw, 0);
  EXPECT_FLOAT_EQ(form.targetZoomOut, 0);
  EXPECT_EQ(form.arrangedDesktop, 0);
  EXPECT_FALSE(desktop.Window(taskbar).visible);
  EXPECT_EQ(desktop.tickInterval, app::kSessionTickMs);
  // Photographed with layered windows, before the cube window showed.
  const auto capture =
      std::find(desktop.log.begin(), desktop.log.end(), "capture 1024x768 layered");
  const auto shown = std::find(desktop.log.begin(), desktop.log.end(), "cube.show");
  ASSERT_NE(capture, desktop.log.end());
  EXPECT_LT(capture, shown);
  EXPECT_EQ(form.faceBitmaps[0].Width(), kWidth);
  // Collected: the shell, the taskbar, layered and invisible windows are not.
  const std::vector<platform::WindowHandle> managed = {left, right, parkedNext};
  EXPECT_EQ(form.managedWindows, managed);

  const int ticks = RunUntilHidden();
  EXPECT_GT(ticks, 100);
  EXPECT_FALSE(form.sessionActive);
  EXPECT_FALSE(desktop.IsVisible());
  EXPECT_TRUE(desktop.Window(taskbar).visible);
  EXPECT_EQ(desktop.log.back(), "cube.hide");
  EXPECT_EQ(form.lastForeground, desktop.foreground);
  // One more tick, hidden, looks for a signal file; then the timer stops.
  EXPECT_EQ(desktop.tickInterval, app::kSessionTickMs);
  form.Timer1Timer();
  EXPECT_EQ(desktop.log.back(), "timer off");

  // Every managed window moved once, one width to the left, with the arrange
  // flags; the layered window and the shell stayed.
  EXPECT_EQ(LeftOf(left), 10 - kWidth);
  EXPECT_EQ(LeftOf(right), 600 - kWidth);
  EXPECT_EQ(LeftOf(parkedNext), 1100 - kWidth);
  EXPECT_EQ(LeftOf(layered), 100);
  for (auto window : managed) EXPECT_EQ(MovesOf(window), 1);
  EXPECT_EQ(MovesOf(layered), 0);
  EXPECT_EQ(MovesOf(invisible), 0);
  for (const platform::FakeMove& move : desktop.moves) {
    if (move.window == taskbar) continue;
    EXPECT_EQ(move.flags, app::kArrangeFlags);
  }
}

TEST_F(SessionTest, TaskbarIsHiddenAndShownWithItsFlags) {
  form.WMHotKey(app::kHotkeyRight);
  RunUntilHidden();
  std::vector<std::uint32_t> taskbarFlags;
  for (const platform::FakeMove& move : desktop.moves) {
    if (move.window == taskbar) taskbarFlags.push_back(move.flags);
  }
  const std::vector<std::uint32_t> expected = {app::kHideTaskbarFlags, app::kShowTaskbarFlags};
  EXPECT_EQ(taskbarFlags, expected);
}

TEST_F(SessionTest, FourRightsBringEveryWindowBack) {
  for (int i = 0; i < 4; ++i) {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }
  EXPECT_EQ(form.currentDesktop, 0);
  EXPECT_EQ(LeftOf(left), 10);
  EXPECT_EQ(LeftOf(right), 600);
  EXPECT_EQ(LeftOf(parkedNext), 1100);
}

TEST_F(SessionTest, LeftFromDesktopZeroParksTheWindowsOneWidthRight) {
  form.WMHotKey(app::kHotkeyLeft);
  RunUntilHidden();
  EXPECT_EQ(form.currentDesktop, 3);
  EXPECT_EQ(LeftOf(left), 10 + kWidth);
  // The next desktop's window goes from +1 to +2 widths.
  EXPECT_EQ(LeftOf(parkedNext), 1100 + kWidth);
}

TEST_F(SessionTest, GatheringBringsEveryDesktopsWindowsToTheirOwnPlaceOnScreen) {
  // Desktop 1 is shown: the fixture's desktop-0 windows stand one width to
  // the left, and windows of desktops 2 and 3 one width right and two left
  // (wrapped to two right).
  form.WMHotKey(app::kHotkeyRight);
  RunUntilHidden();
  const auto two = desktop.AddWindow("Two", platform::Rect{kWidth + 50, 40, kWidth + 350, 240});
  const auto three =
      desktop.AddWindow("Three", platform::Rect{2 * kWidth + 700, 60, 2 * kWidth + 900, 260});
  desktop.moves.clear();

  form.GatherWindows();
  EXPECT_EQ(LeftOf(left), 10);
  EXPECT_EQ(LeftOf(right), 600);
  EXPECT_EQ(LeftOf(parkedNext), 1100 - kWidth);
  EXPECT_EQ(LeftOf(two), 50);
  EXPECT_EQ(LeftOf(three), 700);
  // Only the parked ones move, and only sideways; what is on screen stays.
  EXPECT_EQ(MovesOf(parkedNext), 0);
  EXPECT_EQ(MovesOf(layered) + MovesOf(invisible) + MovesOf(taskbar) + MovesOf(shellWindow), 0);
  for (const platform::FakeMove& move : desktop.moves) {
    EXPECT_EQ(move.flags, app::kArrangeFlags);
    EXPECT_EQ(move.y, desktop.Window(move.window).rect.top);
  }
  EXPECT_EQ(desktop.moves.size(), 4u);
}

TEST_F(SessionTest, PressesDuringASessionAddUpAndArrangeOnce) {
  form.WMHotKey(app::kHotkeyRight);
  const int paintsAfterFirst = desktop.paints;
  form.WMHotKey(app::kHotkeyRight);
  // The second press opened nothing and ran no tick.
  EXPECT_EQ(desktop.paints, paintsAfterFirst);
  EXPECT_EQ(form.currentDesktop, 2);
  EXPECT_FLOAT_EQ(form.targetYaw, -180);
  RunUntilHidden();
  EXPECT_EQ(MovesOf(left), 1);
  EXPECT_EQ(LeftOf(left), 10 - 2 * kWidth + 4 * kWidth);
}

TEST_F(SessionTest, HotkeyWithTheButtonHeldKeepsTurning) {
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_TRUE(form.mouseTurning);
  EXPECT_FLOAT_EQ(form.targetYaw, -90);
  desktop.leftDown = false;
  desktop.tick += 10;
  form.Timer1Timer();
  EXPECT_FALSE(form.mouseTurning);
  RunUntilHidden();
  EXPECT_EQ(form.currentDesktop, 1);
}

TEST_F(SessionTest, UnknownHotkeyDoesNothing) {
  form.WMHotKey(7);
  EXPECT_FALSE(form.sessionActive);
  EXPECT_EQ(desktop.paints, 0);
}

TEST_F(SessionTest, EndTestThatHoldsEndsAtTheNextTickWithoutPainting) {
  form.WMHotKey(app::kHotkeyRight);
  // Step the clock until the values settle, then one more tick must end it.
  while (!desktops::Settled(form.shownZoomOut, form.targetZoomOut, form.shownPitch,
                            form.targetPitch, form.shownYaw, form.targetYaw)) {
    desktop.tick += 10;
    form.Timer1Timer();
  }
  ASSERT_TRUE(form.sessionActive);
  const int paints = desktop.paints;
  const float yaw = form.shownYaw;
  desktop.tick += 1000;
  form.Timer1Timer();
  EXPECT_FALSE(form.sessionActive);
  EXPECT_EQ(desktop.paints, paints);
  EXPECT_EQ(form.shownYaw, yaw);
}

TEST_F(SessionTest, LateTicksCatchUpAndTheClockSurvivesWrapAround) {
  desktop.tick = 0xFFFFFFF0u;
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(form.animationClock, 0xFFFFFFF0u);
  // 40 ms across the wrap: four steps, not four billion and not none.
  desktop.tick = 0x18u;
  form.Timer1Timer();
  EXPECT_EQ(form.animationClock, 0x18u);
  // A long stall: one tick runs every step and the values settle.
  desktop.tick += 60000;
  form.Timer1Timer();
  EXPECT_TRUE(desktops::Settled(form.shownZoomOut, form.targetZoomOut, form.shownPitch,
                                form.targetPitch, form.shownYaw, form.targetYaw));
}

TEST_F(SessionTest, ForegroundFollowTurnsToTheParkedWindowsDesktop) {
  // The first foreground window is only recorded, even off screen.
  desktop.foreground = parkedNext;
  form.Timer1Timer();
  EXPECT_EQ(form.lastForeground, parkedNext);
  EXPECT_FALSE(form.sessionActive);

  desktop.foreground = left;
  form.Timer1Timer();
  EXPECT_FALSE(form.sessionActive);

  desktop.foreground = parkedNext;
  form.Timer1Timer();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_EQ(form.currentDesktop, 1);
  RunUntilHidden();
  EXPECT_EQ(LeftOf(parkedNext), 1100 - kWidth);
  EXPECT_EQ(LeftOf(left), 10 - kWidth);
}

TEST_F(SessionTest, ForegroundLeftOfTheScreenTurnsBack) {
  form.lastForeground = left;
  desktop.Window(right).rect = platform::Rect{-900, 20, -600, 320};
  desktop.foreground = right;
  form.Timer1Timer();
  EXPECT_EQ(form.currentDesktop, 3);
  EXPECT_FLOAT_EQ(form.targetYaw, 90);
}

TEST_F(SessionTest, ForegroundChangesDuringASessionAreOnlyRecorded) {
  desktop.cursor = {500, 400};
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  desktop.foreground = parkedNext;
  form.Timer1Timer();
  EXPECT_EQ(form.lastForeground, parkedNext);
  EXPECT_EQ(form.currentDesktop, 1);
  EXPECT_FLOAT_EQ(form.targetYaw, -90);
}

TEST_F(SessionTest, SignalFileOpensASessionThatFollowsTheMouse) {
  desktop.files.insert(SignalFile());
  desktop.leftDown = true;
  desktop.cursor = {500, 400};
  form.Timer1Timer();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_TRUE(form.mouseTurning);
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
  EXPECT_EQ(desktop.paints, 0);  // no nested tick

  // Drag 450 pixels right: a quarter turn back, to the previous desktop.
  for (int x = 545; x <= 950; x += 45) {
    desktop.cursor = {x, 400};
    form.FormMouseMove();
  }
  EXPECT_FLOAT_EQ(form.shownYaw, 90);
  EXPECT_FLOAT_EQ(form.shownPitch, 0);
  // The frame is turned by the angles the mouse step has just set.
  const std::vector<std::uint8_t> painted = desktop.gl().Pixels();
  EXPECT_TRUE(painted == ReferenceFrame(form.settings.zoom * form.shownZoomOut, 0, 90));
  EXPECT_FALSE(painted == ReferenceFrame(form.settings.zoom * form.shownZoomOut, 0, 81));
  desktop.leftDown = false;
  RunUntilHidden();
  EXPECT_EQ(form.currentDesktop, 3);
  EXPECT_EQ(LeftOf(left), 10 + kWidth);
}

TEST_F(SessionTest, SignalWithTheButtonUpChangesNothing) {
  desktop.files.insert(SignalFile());
  form.Timer1Timer();
  ASSERT_TRUE(form.sessionActive);
  RunUntilHidden();
  EXPECT_EQ(form.currentDesktop, 0);
  EXPECT_EQ(LeftOf(left), 10);
  EXPECT_EQ(MovesOf(left), 1);  // moved in place all the same
}

TEST_F(SessionTest, SignalDuringASessionIsConsumedAfterIt) {
  form.WMHotKey(app::kHotkeyRight);
  desktop.files.insert(SignalFile());
  RunUntilHidden();
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);
  form.Timer1Timer();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
}

TEST_F(SessionTest, UndeletableSignalOpensASessionAfterEverySession) {
  desktop.files.insert(SignalFile());
  desktop.undeletable.insert(SignalFile());
  for (int i = 0; i < 3; ++i) {
    form.Timer1Timer();
    EXPECT_TRUE(form.sessionActive);
    RunUntilHidden();
  }
}

// Between sessions nothing runs but on an event: the system's report of a
// new foreground window runs the follow rule, the library's report of its
// signal file opens a session; during a session the reports wait for the
// tick after it.
TEST_F(SessionTest, IdleWaitsForEvents) {
  desktop.foreground = left;
  form.Timer1Timer();  // the tick after start-up records the foreground
  EXPECT_EQ(desktop.tickInterval, 0u);

  desktop.foreground = parkedNext;
  form.WMForegroundChanged();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_EQ(form.currentDesktop, 1);
  desktop.files.insert(SignalFile());
  const int paints = desktop.paints;
  form.WMSignalWritten();
  form.WMForegroundChanged();
  EXPECT_EQ(desktop.paints, paints);  // the session's own ticks do the work
  RunUntilHidden();
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);
  form.Timer1Timer();  // the tick after the session takes the file
  EXPECT_TRUE(form.mouseTurning);
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
  RunUntilHidden();
  form.Timer1Timer();
  EXPECT_EQ(desktop.tickInterval, 0u);

  desktop.files.insert(SignalFile());
  form.WMSignalWritten();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_TRUE(form.mouseTurning);
}

TEST_F(SessionTest, HiddenTickDoesOnlyItsTwoLookups) {
  desktop.foreground = left;
  form.Timer1Timer();
  const int queries = desktop.foregroundQueries;
  const int checks = desktop.fileChecks;
  for (int i = 0; i < 100; ++i) form.Timer1Timer();
  EXPECT_EQ(desktop.foregroundQueries - queries, 100);
  EXPECT_EQ(desktop.fileChecks - checks, 100);
  EXPECT_EQ(desktop.paints, 0);
  EXPECT_TRUE(desktop.moves.empty());
}

TEST_F(SessionTest, CursorWrapsAtTheEdgesWhileTurning) {
  desktop.files.insert(SignalFile());
  desktop.leftDown = true;
  desktop.cursor = {1000, 400};
  form.Timer1Timer();
  desktop.cursor = {1023, 767};
  form.FormMouseMove();
  EXPECT_EQ(desktop.cursor.x, 1);
  EXPECT_EQ(desktop.cursor.y, 1);
  EXPECT_EQ(form.lastCursorX, 0);
  EXPECT_EQ(form.lastCursorY, 0);
  // The next frame continues the movement with one pixel more.
  const float yaw = form.shownYaw;
  desktop.cursor = {2, 1};
  form.FormMouseMove();
  EXPECT_FLOAT_EQ(form.shownYaw, yaw + 2.0f / 5);
}

TEST_F(SessionTest, ZoomPullsTheCameraBackWhileTurning) {
  form.settings.zoom = 0.5f;
  desktop.files.insert(SignalFile());
  desktop.leftDown = true;
  form.Timer1Timer();
  desktop.tick += 5000;
  form.Timer1Timer();
  EXPECT_NEAR(form.shownZoomOut, 1.0f, 0.01f);
  const std::vector<std::uint8_t> painted = desktop.gl().Pixels();
  EXPECT_TRUE(painted == ReferenceFrame(0.5f * form.shownZoomOut, form.shownPitch, form.shownYaw));
  EXPECT_FALSE(painted == ReferenceFrame(0, form.shownPitch, form.shownYaw));
}

TEST_F(SessionTest, SpeedThatWouldNeverSettleStillEnds) {
  for (float speed : {0.0f, -2.0f, std::nanf(""), 5.0f}) {
    form.settings.speed = speed;
    form.WMHotKey(app::kHotkeyRight);
    EXPECT_LT(RunUntilHidden(10, 5000), 5000) << speed;
    EXPECT_FALSE(form.sessionActive);
  }
}

struct TempPathCase {
  std::string name;
  std::uint32_t needed;  // length the system reports for the path
  std::string path;      // what a big enough buffer receives
  std::string expected;
};

class TempPathTest : public FormTest, public testing::WithParamInterface<TempPathCase> {};

TEST_P(TempPathTest, BuildsTheSignalFilePathSafely) {
  const TempPathCase c = GetParam();
  desktop.tempPathOverride = [c](std::uint32_t length, char* buffer) -> std::uint32_t {
    if (c.needed == 0) return 0;
    if (c.needed > length) return c.needed;
    std::copy(c.path.begin(), c.path.end(), buffer);
    buffer[c.path.size()] = 0;
    return static_cast<std::uint32_t>(c.path.size());
  };
  EXPECT_EQ(form.SignalFilePath(), c.expected);
}

const std::string kLongDirectory = "C:\\" + std::string(1200, 'x') + "\\";

INSTANTIATE_TEST_SUITE_P(
    Paths, TempPathTest,
    testing::Values(TempPathCase{"Plain", 9, "C:\\Temp\\", "C:\\Temp\\rombodesktop.hook"},
                    TempPathCase{"NoSeparator", 7, "C:\\Temp", "C:\\Temp\\rombodesktop.hook"},
                    TempPathCase{"Unknown", 0, "", "\\rombodesktop.hook"},
                    // Longer than the usual buffer: read again with the size it needs.
                    TempPathCase{"Long", static_cast<std::uint32_t>(kLongDirectory.size() + 1),
                                 kLongDirectory, kLongDirectory + "rombodesktop.hook"},
                    // Claims to need more every time: no directory, never a read past
                    // the buffer.
                    TempPathCase{"EverGrowing", 5000000, "", "\\rombodesktop.hook"}),
    [](const testing::TestParamInfo<TempPathCase>& info) { return info.param.name; });

}  // namespace
