// Rules of the cube session that show only in the order of calls or in the
// state between two steps: how a session ends, what the foreground-follow
// step leaves behind, which trigger wins a tick, and how the windows are
// collected and shifted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "form_fixture.h"

namespace {

class SessionRulesTest : public FormTest {
 protected:
  void SetUp() override {
    onScreen = desktop.AddWindow("OnScreen", platform::Rect{10, 20, 410, 320});
    parked = desktop.AddWindow("Parked", platform::Rect{1100, 20, 1300, 320});
    Start();
  }

  std::string SignalFile() { return desktop.tempPath + app::kSignalFileName; }

  platform::WindowHandle onScreen, parked;
};

TEST_F(SessionRulesTest, EndShowsTaskbarMovesWindowsHandsTheKeyboardOnThenHidesCube) {
  desktop.foreground = onScreen;
  form.Timer1Timer();  // the first foreground window is only recorded
  form.WMHotKey(app::kHotkeyRight);
  RunUntilHidden();

  // While the cube still holds the foreground, it goes to the window that
  // now stands on the screen; hiding the cube then changes nothing.
  const std::vector<std::string> ending = {
      MoveEntry(taskbar, 0, 0, app::kShowTaskbarFlags),
      MoveEntry(onScreen, 10 - kWidth, 20, app::kArrangeFlags),
      MoveEntry(parked, 1100 - kWidth, 20, app::kArrangeFlags),
      "activate " + std::to_string(parked),
      "cube.hide",
  };
  ASSERT_GE(desktop.log.size(), ending.size());
  EXPECT_EQ(std::vector<std::string>(desktop.log.end() - ending.size(), desktop.log.end()), ending);
  EXPECT_EQ(form.lastForeground, parked);
  EXPECT_EQ(desktop.foreground, parked);
}

struct HandOffCase {
  std::string name;
  int presses;  // Ctrl+Alt+Right from desktop 0
  // Windows above the two of the fixture, on the desktop reached: a tool
  // window and a minimised one, which are passed over.
  bool passedOverAbove;
  bool expectDesktopWindow;  // else the fixture's window now on the screen
};

class HandOffTest : public FormTest, public testing::WithParamInterface<HandOffCase> {};

// The keyboard goes to the topmost window standing on the new desktop that
// takes it as the user gives it, or to the desktop when there is none.
TEST_P(HandOffTest, KeyboardGoesToTheDesktopNowShown) {
  const HandOffCase c = GetParam();
  if (c.passedOverAbove) {
    desktop.AddWindow("Tool", platform::Rect{1100, 0, 1200, 50}, true,
                      platform::kExStyleToolWindow);
    const auto minimised = desktop.AddWindow("Min", platform::Rect{-32000, -32000, -31840, -31970});
    desktop.Window(minimised).minimised = true;
  }
  const auto here = desktop.AddWindow("Here", platform::Rect{10, 20, 410, 320});
  const auto next = desktop.AddWindow("Next", platform::Rect{1100, 20, 1300, 320});
  Start();
  desktop.foreground = here;
  form.Timer1Timer();
  for (int i = 0; i < c.presses; ++i) {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }
  const platform::WindowHandle expected = c.expectDesktopWindow ? shellWindow : next;
  EXPECT_EQ(desktop.foreground, expected);
  EXPECT_EQ(form.lastForeground, expected);
  // The follow step takes it as the window last seen: no switch follows.
  form.Timer1Timer();
  EXPECT_FALSE(form.sessionActive);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, HandOffTest,
    testing::Values(HandOffCase{"ToTheWindowOnScreen", 1, false, false},
                    HandOffCase{"PastToolAndMinimisedWindows", 1, true, false},
                    HandOffCase{"ToTheDesktopWhenItHasNoWindow", 2, false, true}),
    [](const testing::TestParamInfo<HandOffCase>& info) { return info.param.name; });

TEST_F(SessionRulesTest, TheCubeCoversThePrimaryScreen) {
  desktop.screenWidth = 1280;
  desktop.screenHeight = 1024;
  form.WMHotKey(app::kHotkeyRight);
  const platform::Rect cube = desktop.Window(desktop.Handle()).rect;
  EXPECT_EQ(cube.left, 0);
  EXPECT_EQ(cube.top, 0);
  EXPECT_EQ(cube.right, 1280);
  EXPECT_EQ(cube.bottom, 1024);
}

struct FollowCase {
  std::string name;
  platform::Rect rect;  // of the window that becomes the foreground
  bool visible;
  std::int32_t startDesktop;
  bool opens;
  std::int32_t desktop;  // current desktop afterwards
  float targetYaw;       // afterwards
  float shownYaw;        // afterwards: the snap brings it into 0..360
};

class ForegroundFollowTest : public FormTest, public testing::WithParamInterface<FollowCase> {};

// Right after the step has opened a session, its nested tick has snapped:
// mouse turning is off and the camera is not pulled back; the quarter turns
// are aimed and the outer tick went no further.
TEST_P(ForegroundFollowTest, OpensOnlyForAVisibleParkedWindowAndSnapsAtOnce) {
  const FollowCase c = GetParam();
  const auto before = desktop.AddWindow("Before", platform::Rect{10, 20, 410, 320});
  const auto window = desktop.AddWindow("Target", c.rect, c.visible);
  Start();
  form.currentDesktop = c.startDesktop;
  form.lastForeground = before;
  desktop.foreground = window;
  desktop.cursor = {500, 400};
  form.Timer1Timer();

  EXPECT_EQ(form.sessionActive, c.opens);
  EXPECT_EQ(form.currentDesktop, c.desktop);
  EXPECT_FLOAT_EQ(form.targetYaw, c.targetYaw);
  if (c.visible) {
    EXPECT_EQ(form.lastForeground, window);
  }
  if (!c.opens) {
    EXPECT_EQ(desktop.paints, 0);
    return;
  }
  EXPECT_FALSE(form.mouseTurning);
  EXPECT_FLOAT_EQ(form.targetZoomOut, 0);
  EXPECT_FLOAT_EQ(form.shownZoomOut, 0);
  EXPECT_FLOAT_EQ(form.targetPitch, 0);
  EXPECT_FLOAT_EQ(form.shownYaw, c.shownYaw);
  EXPECT_EQ(desktop.paints, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ForegroundFollowTest,
    testing::Values(
        FollowCase{"OneRight", {1100, 20, 1300, 320}, true, 0, true, 1, -90, 0},
        FollowCase{"TwoRight", {2100, 20, 2300, 320}, true, 0, true, 2, -180, 0},
        FollowCase{"Left", {-900, 20, -600, 320}, true, 0, true, 3, 90, 0},
        FollowCase{"TwoRightFromDesktop2", {2100, 20, 2300, 320}, true, 2, true, 0, 0, 180},
        FollowCase{"LeftFromDesktop1", {-900, 20, -600, 320}, true, 1, true, 0, 360, 270},
        // Maximised (8 pixels past the edges) or snapped left, parked one
        // desktop back and so wrapped round to the right: one quarter back.
        FollowCase{"MaximisedOneBack", {3064, 0, 4104, 740}, true, 0, true, 3, 90, 0},
        FollowCase{"SnappedOneBack", {3065, 0, 3591, 740}, true, 0, true, 3, 90, 0},
        FollowCase{"OnScreen", {600, 20, 900, 320}, true, 0, false, 0, 0, 0},
        FollowCase{"InvisibleParked", {1100, 20, 1300, 320}, false, 0, false, 0, 0, 0}),
    [](const testing::TestParamInfo<FollowCase>& info) { return info.param.name; });

enum class Gone { kClosed, kMinimised, kHidden };

struct SystemActivation {
  Gone how;
  bool otherOnScreen;  // else the desktop has no window left
};

class SystemActivationTest : public FormTest,
                             public testing::WithParamInterface<SystemActivation> {};

// Closing, minimising or hiding the active window makes the system activate
// the next one down, here a parked one: that is no choice of the user's, so
// the cube stays and the keyboard goes to the window on the screen, or to
// the desktop when there is none.
TEST_P(SystemActivationTest, ParkedWindowTheSystemActivatedIsNotFollowed) {
  const auto active = desktop.AddWindow("Active", platform::Rect{10, 20, 410, 320});
  const auto parked = desktop.AddWindow("Parked", platform::Rect{1100, 20, 1300, 320});
  const auto other =
      desktop.AddWindow("Other", platform::Rect{500, 20, 900, 320}, GetParam().otherOnScreen);
  Start();
  desktop.foreground = active;
  form.Timer1Timer();
  switch (GetParam().how) {
    case Gone::kClosed:
      desktop.Window(active).closed = true;
      break;
    case Gone::kMinimised:
      desktop.Window(active).minimised = true;
      break;
    case Gone::kHidden:
      desktop.Window(active).visible = false;
      break;
  }
  desktop.foreground = parked;
  form.Timer1Timer();

  EXPECT_FALSE(form.sessionActive);
  EXPECT_EQ(form.currentDesktop, 0);
  const platform::WindowHandle expected = GetParam().otherOnScreen ? other : shellWindow;
  EXPECT_EQ(desktop.foreground, expected);
  EXPECT_EQ(form.lastForeground, expected);
  EXPECT_EQ(LeftOf(parked), 1100);
}

INSTANTIATE_TEST_SUITE_P(Windows, SystemActivationTest,
                         testing::Values(SystemActivation{Gone::kClosed, true},
                                         SystemActivation{Gone::kMinimised, true},
                                         SystemActivation{Gone::kHidden, true},
                                         SystemActivation{Gone::kClosed, false}));

TEST_F(SessionRulesTest, ForegroundAlreadySeenOpensNothing) {
  form.lastForeground = parked;
  desktop.foreground = parked;
  form.Timer1Timer();
  EXPECT_FALSE(form.sessionActive);
}

TEST_F(SessionRulesTest, ParkedForegroundDuringASessionIsOnlyRecorded) {
  form.lastForeground = onScreen;
  desktop.cursor = {500, 400};
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  desktop.foreground = parked;
  const int paints = desktop.paints;
  desktop.tick += 10;
  form.Timer1Timer();
  EXPECT_EQ(form.lastForeground, parked);
  EXPECT_EQ(form.currentDesktop, 1);
  EXPECT_FLOAT_EQ(form.targetYaw, -90);
  EXPECT_EQ(desktop.paints, paints + 1);  // this tick's own paint, no nested session
}

TEST_F(SessionRulesTest, FollowWinsTheTickAndTheSignalWaitsForTheNextHiddenTick) {
  desktop.files.insert(SignalFile());
  form.lastForeground = onScreen;
  desktop.foreground = parked;
  form.Timer1Timer();
  // The follow step's session, already snapped; the file was not looked at.
  ASSERT_TRUE(form.sessionActive);
  EXPECT_FALSE(form.mouseTurning);
  EXPECT_EQ(form.currentDesktop, 1);
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);

  RunUntilHidden();
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);
  form.Timer1Timer();
  EXPECT_TRUE(form.sessionActive);
  EXPECT_TRUE(form.mouseTurning);
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
}

TEST_F(SessionRulesTest, ShellWindowsAreLookedUpAfreshAtEveryCollection) {
  form.WMHotKey(app::kHotkeyRight);
  RunUntilHidden();
  // The shell restarts between sessions: new desktop and taskbar windows.
  desktop.Window(shellWindow).closed = true;
  desktop.Window(taskbar).closed = true;
  const auto newShell = desktop.AddWindow("Progman", platform::Rect{0, 0, kWidth, kHeight});
  const auto newTaskbar =
      desktop.AddWindow("Shell_TrayWnd", platform::Rect{0, 738, kWidth, kHeight});

  form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(form.progmanWindow, newShell);
  EXPECT_EQ(form.trayWindow, newTaskbar);
  const std::vector<platform::WindowHandle> managed = {onScreen, parked};
  EXPECT_EQ(form.managedWindows, managed);
  EXPECT_FALSE(desktop.Window(newTaskbar).visible);
  RunUntilHidden();
  EXPECT_EQ(LeftOf(newShell), 0);
  EXPECT_EQ(LeftOf(newTaskbar), 0);
  EXPECT_TRUE(desktop.Window(newTaskbar).visible);
}

// The shell's windows that stand on every desktop stay out; tool windows
// and the rest stay in.
TEST_F(SessionRulesTest, CollectionLeavesOutTheShellOfEveryDesktop) {
  desktop.AddWindow("Shell_SecondaryTrayWnd", platform::Rect{1024, 738, 2048, 768});
  const auto icons = desktop.AddWindow("WorkerW", platform::Rect{0, 0, kWidth, kHeight});
  desktop.Window(icons).childClasses = {"SHELLDLL_DefView"};
  const auto plainWorker = desktop.AddWindow("WorkerW", platform::Rect{0, 0, kWidth, kHeight});
  const auto cloaked = desktop.AddWindow("Store app", platform::Rect{10, 10, 300, 300});
  desktop.Window(cloaked).cloaked = true;
  const auto tool = desktop.AddWindow("Palette", platform::Rect{10, 10, 100, 100}, true,
                                      platform::kExStyleToolWindow);
  form.CollectWindows();
  const std::vector<platform::WindowHandle> managed = {onScreen, parked, plainWorker, tool};
  EXPECT_EQ(form.managedWindows, managed);
}

struct HotkeyRun {
  std::string name;
  int key;
  int sessions;  // one press per session, each run to its end
  std::int32_t desktop;
  std::int32_t left;  // of the window that stood at 10 on desktop 0
};

class HotkeySessionsTest : public FormTest, public testing::WithParamInterface<HotkeyRun> {};

// Each session starts from the face it found, turns a quarter in the key's
// direction (Left adds 90 degrees, Right takes 90 away) and arranges once.
TEST_P(HotkeySessionsTest, EachSessionTurnsAQuarterFromWhereTheLastEnded) {
  const HotkeyRun c = GetParam();
  const auto window = desktop.AddWindow("Window", platform::Rect{10, 20, 410, 320});
  Start();
  const float quarter = c.key == app::kHotkeyLeft ? 90.0f : -90.0f;
  for (int i = 0; i < c.sessions; ++i) {
    SCOPED_TRACE(i);
    const std::int32_t from = form.currentDesktop;
    form.WMHotKey(c.key);
    // The nested tick has snapped the start onto the face of `from`.
    EXPECT_FLOAT_EQ(form.shownYaw, std::fmod(360.0f - 90.0f * static_cast<float>(from), 360.0f));
    EXPECT_FLOAT_EQ(form.targetYaw - form.shownYaw, quarter);
    RunUntilHidden();
  }
  EXPECT_EQ(form.currentDesktop, c.desktop);
  EXPECT_EQ(LeftOf(window), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, HotkeySessionsTest,
    testing::Values(HotkeyRun{"Right1", app::kHotkeyRight, 1, 1, 10 - 1024},
                    HotkeyRun{"Right2", app::kHotkeyRight, 2, 2, 10 + 2 * 1024},
                    HotkeyRun{"Right3", app::kHotkeyRight, 3, 3, 10 + 1024},
                    HotkeyRun{"Right4", app::kHotkeyRight, 4, 0, 10},
                    HotkeyRun{"Left1", app::kHotkeyLeft, 1, 3, 10 + 1024},
                    HotkeyRun{"Left2", app::kHotkeyLeft, 2, 2, 10 + 2 * 1024},
                    HotkeyRun{"Left3", app::kHotkeyLeft, 3, 1, 10 - 1024},
                    HotkeyRun{"Left5", app::kHotkeyLeft, 5, 3, 10 + 1024}),
    [](const testing::TestParamInfo<HotkeyRun>& info) { return info.param.name; });

struct ArrangeCase {
  std::string name;
  std::int32_t arranged;
  std::int32_t desktop;
  std::vector<std::int32_t> lefts;     // before
  std::vector<std::int32_t> expected;  // after
};

class ArrangeWindowsTest : public FormTest, public testing::WithParamInterface<ArrangeCase> {};

// ArrangeWindows makes its argument current first and shifts by the distance
// from the recorded layout to it.
TEST_P(ArrangeWindowsTest, MakesTheDesktopCurrentAndShiftsFromTheRecordedLayout) {
  const ArrangeCase c = GetParam();
  std::vector<platform::WindowHandle> windows;
  for (std::int32_t left : c.lefts) {
    windows.push_back(desktop.AddWindow("W", platform::Rect{left, 5, left + 100, 105}));
  }
  Start();
  form.CollectWindows();
  form.SetArrangedDesktop(c.arranged);
  form.ArrangeWindows(c.desktop);
  EXPECT_EQ(form.currentDesktop, c.desktop);
  EXPECT_EQ(form.arrangedDesktop, c.arranged);
  std::vector<std::int32_t> lefts;
  for (platform::WindowHandle window : windows) lefts.push_back(LeftOf(window));
  EXPECT_EQ(lefts, c.expected);
  EXPECT_EQ(desktop.moves.size(), windows.size());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ArrangeWindowsTest,
    testing::Values(
        ArrangeCase{
            "OneForward", 0, 1, {10, 1100, 2100, 3000, -1000}, {-1014, 76, 1076, 1976, 2072}},
        ArrangeCase{"TwoApart", 3, 1, {0, 2048, -1024}, {2048, 0, 1024}},
        ArrangeCase{"Same", 2, 2, {-1024, 3072, 5000, -2000}, {-1024, 3072, 904, 2096}},
        ArrangeCase{"Empty", 3, 1, {}, {}}),
    [](const testing::TestParamInfo<ArrangeCase>& info) { return info.param.name; });

}  // namespace
