// The roads through the program that cross its parts, on a fake desktop:
// one switch from the hotkey to the windows in place, the hotkeys, the
// foreground follow, the signal file, what the program does between
// sessions, and the uninstaller's gathering of the windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "desktops/layout.h"
#include "desktops/signal_file.h"
#include "tests/unit/form_fixture.h"

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

  platform::WindowHandle left, right, layered, invisible, parkedNext;
};

TEST_F(SessionTest, OneSwitchRunsItsWholeRoad) {
  desktop.cursor = {500, 400};
  form.WMHotKey(app::kHotkeyRight);

  // The session is open, the nested tick has snapped, the quarter turn aimed.
  const desktops::CubeMotion& motion = form.Motion();
  EXPECT_TRUE(form.SessionActive());
  EXPECT_TRUE(desktop.IsVisible());
  EXPECT_FALSE(motion.MouseTurning());
  EXPECT_EQ(motion.CurrentDesktop(), 1);
  EXPECT_FLOAT_EQ(motion.Target().yaw, -90);
  EXPECT_FLOAT_EQ(motion.Shown().yaw, 0);
  EXPECT_FLOAT_EQ(motion.Target().zoomOut, 0);
  EXPECT_EQ(form.Parking().ArrangedDesktop(), 0);
  EXPECT_EQ(desktop.tickInterval, app::kSessionTickMs);
  // Desktop 0 photographed with layered windows, before the cube window
  // showed; the pictures loaded for good.
  const auto capture =
      std::find(desktop.log.begin(), desktop.log.end(), "capture 1024x768 layered");
  const auto shown = std::find(desktop.log.begin(), desktop.log.end(), "cube.show");
  ASSERT_NE(capture, desktop.log.end());
  EXPECT_LT(capture, shown);
  EXPECT_EQ(form.Faces().FaceBitmaps()[0].Width(), kWidth);
  EXPECT_FALSE(form.ImagesDirty());
  EXPECT_FALSE(desktop.Window(taskbar).visible);
  // Collected: the shell, the taskbar, layered and invisible windows are not.
  const std::vector<platform::WindowHandle> managed = {left, right, parkedNext};
  EXPECT_EQ(form.Parking().ManagedWindows(), managed);

  EXPECT_GT(RunUntilHidden(), 100);
  // The taskbar comes back, the windows move one width to the left and the
  // keyboard goes to the window now on the screen while the cube still
  // covers it; then the cube goes.
  const std::vector<std::string> ending = {
      MoveEntry(taskbar, 0, 0, desktops::kShowTaskbarFlags),
      MoveEntry(left, 10 - kWidth, 20, desktops::kArrangeFlags),
      MoveEntry(right, 600 - kWidth, 20, desktops::kArrangeFlags),
      MoveEntry(parkedNext, 1100 - kWidth, 20, desktops::kArrangeFlags),
      "activate " + std::to_string(parkedNext),
      "cube.hide",
  };
  ASSERT_GE(desktop.log.size(), ending.size());
  EXPECT_EQ(std::vector<std::string>(desktop.log.end() - ending.size(), desktop.log.end()), ending);
  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(form.LastForeground(), parkedNext);
  EXPECT_EQ(desktop.foreground, parkedNext);
  // Nothing else moved: the taskbar was hidden once, each window moved once.
  ASSERT_EQ(desktop.moves.size(), 5u);
  EXPECT_EQ(desktop.moves[0].window, taskbar);
  EXPECT_EQ(desktop.moves[0].flags, desktops::kHideTaskbarFlags);
  // One more tick, hidden, looks for a signal file; then the timer stops.
  EXPECT_EQ(desktop.tickInterval, app::kSessionTickMs);
  TimerTick();
  EXPECT_EQ(desktop.log.back(), "timer off");
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
  const desktops::CubeMotion& motion = form.Motion();
  for (int i = 0; i < c.sessions; ++i) {
    SCOPED_TRACE(i);
    const std::int32_t from = motion.CurrentDesktop();
    form.WMHotKey(c.key);
    // The nested tick has snapped the start onto the face of `from`.
    EXPECT_FLOAT_EQ(motion.Shown().yaw,
                    std::fmod(360.0f - 90.0f * static_cast<float>(from), 360.0f));
    EXPECT_FLOAT_EQ(motion.Target().yaw - motion.Shown().yaw, quarter);
    RunUntilHidden();
  }
  EXPECT_EQ(motion.CurrentDesktop(), c.desktop);
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

struct GoToCase {
  std::int32_t from;
  std::int32_t to;
  int faces;  // the short way: +1 on, -1 back, +2 for the one opposite
};

class GoToTest : public SessionTest, public testing::WithParamInterface<GoToCase> {};

// Ctrl+Alt+F1 .. F4 turn straight to a desktop in one session, the short way
// round, and the windows move once; to the desktop shown, nothing happens.
TEST_P(GoToTest, TurnsTheShortWayInOneSession) {
  const GoToCase c = GetParam();
  form.WMHotKey(app::kHotkeyGoTo1 + c.from);
  RunUntilHidden();
  ASSERT_EQ(form.Motion().CurrentDesktop(), c.from);
  desktop.moves.clear();
  const int paints = desktop.paints;

  form.WMHotKey(app::kHotkeyGoTo1 + c.to);
  EXPECT_EQ(form.SessionActive(), c.faces != 0);
  if (c.faces == 0) {
    EXPECT_EQ(desktop.paints, paints);
    return;
  }
  EXPECT_FLOAT_EQ(form.Motion().Shown().yaw - form.Motion().Target().yaw, 90.0f * c.faces);
  RunUntilHidden();
  EXPECT_EQ(form.Motion().CurrentDesktop(), c.to);
  EXPECT_EQ(MovesOf(left), 1);
  EXPECT_EQ(LeftOf(left), desktops::ShiftedLeft(10, -std::int64_t{kWidth} * c.to, kSpan));
}

INSTANTIATE_TEST_SUITE_P(EachToEach, GoToTest,
                         testing::Values(GoToCase{0, 0, 0}, GoToCase{0, 1, 1}, GoToCase{0, 2, 2},
                                         GoToCase{0, 3, -1}, GoToCase{1, 0, -1}, GoToCase{1, 1, 0},
                                         GoToCase{1, 2, 1}, GoToCase{1, 3, 2}, GoToCase{2, 0, 2},
                                         GoToCase{2, 1, -1}, GoToCase{2, 2, 0}, GoToCase{2, 3, 1},
                                         GoToCase{3, 0, 1}, GoToCase{3, 1, 2}, GoToCase{3, 2, -1},
                                         GoToCase{3, 3, 0}),
                         [](const testing::TestParamInfo<GoToCase>& info) {
                           return "From" + std::to_string(info.param.from + 1) + "To" +
                                  std::to_string(info.param.to + 1);
                         });

// Pressed during a session, the new target replaces the one being turned to.
TEST_F(SessionTest, GoToDuringASessionReplacesItsTarget) {
  form.WMHotKey(app::kHotkeyRight);
  form.WMHotKey(app::kHotkeyGoTo1 + 3);
  EXPECT_EQ(form.Motion().CurrentDesktop(), 3);
  EXPECT_FLOAT_EQ(form.Motion().Target().yaw, 90);
  form.WMHotKey(app::kHotkeyGoTo1 + 3);  // the one being turned to: nothing
  EXPECT_FLOAT_EQ(form.Motion().Target().yaw, 90);
  RunUntilHidden();
  EXPECT_EQ(form.Motion().CurrentDesktop(), 3);
  EXPECT_EQ(MovesOf(left), 1);
}

enum class Active { kLeft, kDialog, kNone, kParked, kLayered };

struct CarryCase {
  std::string name;
  Active active;
  int presses;   // of Ctrl+Alt+Shift+Right, in one session
  bool carried;  // else a plain switch
  bool ownerLoop = false;
};

class CarryTest : public SessionTest, public testing::WithParamInterface<CarryCase> {};

// Ctrl+Alt+Shift+Right takes the active window and its family along: they
// stand where they stood, the others are arranged as by Ctrl+Alt+Right, and
// the window keeps the keyboard. Without a managed active window on the
// screen it is a plain switch.
TEST_P(CarryTest, TheActiveWindowAndItsFamilyGoAlong) {
  const CarryCase c = GetParam();
  const auto dialog = desktop.AddWindow("Dialog", platform::Rect{50, 60, 250, 160});
  desktop.Window(dialog).owner = left;
  if (c.ownerLoop) desktop.Window(left).owner = dialog;
  const platform::WindowHandle active[] = {left, dialog, platform::kNoWindow, parkedNext, layered};
  desktop.foreground = active[static_cast<int>(c.active)];
  for (int i = 0; i < c.presses; ++i) form.WMHotKey(app::kHotkeyCarryRight);
  RunUntilHidden();

  EXPECT_EQ(form.Motion().CurrentDesktop(), c.presses);
  const std::int64_t shift = -std::int64_t{kWidth} * c.presses;
  EXPECT_EQ(LeftOf(left), c.carried ? 10 : desktops::ShiftedLeft(10, shift, kSpan));
  EXPECT_EQ(LeftOf(dialog), c.carried ? 50 : desktops::ShiftedLeft(50, shift, kSpan));
  EXPECT_EQ(LeftOf(right), desktops::ShiftedLeft(600, shift, kSpan));
  EXPECT_EQ(LeftOf(parkedNext), desktops::ShiftedLeft(1100, shift, kSpan));
  EXPECT_EQ(LeftOf(layered), 100);
  if (c.carried) {
    EXPECT_EQ(desktop.foreground, active[static_cast<int>(c.active)]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CarryTest,
    testing::Values(CarryCase{"Window", Active::kLeft, 1, true},
                    CarryCase{"PressesAddUp", Active::kLeft, 2, true},
                    CarryCase{"DialogTakesItsOwner", Active::kDialog, 1, true},
                    CarryCase{"OwnerLoop", Active::kDialog, 1, true, true},
                    CarryCase{"NoActiveWindow", Active::kNone, 1, false},
                    CarryCase{"ParkedActiveWindow", Active::kParked, 1, false},
                    CarryCase{"UnmanagedActiveWindow", Active::kLayered, 1, false}),
    [](const testing::TestParamInfo<CarryCase>& info) { return info.param.name; });

TEST_F(SessionTest, UnknownHotkeyDoesNothing) {
  form.WMHotKey(7);
  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(desktop.paints, 0);
}

// Presses during a session open nothing and run no tick; they add up on the
// target, so the cube turns the long way round (the nested tick's snap is
// not redone, which would turn it the short way back), and the windows are
// arranged once, for the final desktop.
TEST_F(SessionTest, PressesDuringASessionAddUpAndArrangeOnce) {
  form.WMHotKey(app::kHotkeyRight);
  const int paints = desktop.paints;
  form.WMHotKey(app::kHotkeyRight);
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(desktop.paints, paints);
  const desktops::CubeMotion& motion = form.Motion();
  EXPECT_EQ(motion.CurrentDesktop(), 3);
  EXPECT_FLOAT_EQ(motion.Target().yaw, -270);

  float previous = motion.Shown().yaw;
  bool monotonic = true;
  for (int i = 0; form.SessionActive() && i < 10000; ++i) {
    desktop.tick += 10;
    TimerTick();
    monotonic = monotonic && motion.Shown().yaw <= previous;
    previous = motion.Shown().yaw;
  }
  EXPECT_TRUE(monotonic);
  EXPECT_NEAR(motion.Shown().yaw, -270, 1);
  EXPECT_EQ(motion.CurrentDesktop(), 3);
  EXPECT_EQ(MovesOf(left), 1);
  EXPECT_EQ(LeftOf(left), 10 + kWidth);
}

TEST_F(SessionTest, HotkeyWithTheButtonHeldKeepsTurning) {
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_TRUE(form.Motion().MouseTurning());
  EXPECT_FLOAT_EQ(form.Motion().Target().yaw, -90);
  desktop.leftDown = false;
  desktop.tick += 10;
  TimerTick();
  EXPECT_FALSE(form.Motion().MouseTurning());
  RunUntilHidden();
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
}

TEST_F(SessionTest, EndTestThatHoldsEndsAtTheNextTickWithoutPainting) {
  form.WMHotKey(app::kHotkeyRight);
  // Step the clock until the values settle, then one more tick must end it.
  for (int i = 0; !form.Motion().Settled() && i < 10000; ++i) {
    desktop.tick += 10;
    TimerTick();
  }
  ASSERT_TRUE(form.SessionActive());
  const int paints = desktop.paints;
  const float yaw = form.Motion().Shown().yaw;
  desktop.tick += 1000;
  TimerTick();
  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(desktop.paints, paints);
  EXPECT_EQ(form.Motion().Shown().yaw, yaw);
}

TEST_F(SessionTest, TheCubeCoversThePrimaryScreen) {
  const platform::Rect primary{0, 0, 1280, 1024};
  const platform::Rect second{-800, 0, 0, 600};
  desktop.UseMonitors({{primary, primary}, {second, second}});
  form.WMHotKey(app::kHotkeyRight);
  const platform::Rect cube = desktop.Window(desktop.Handle()).rect;
  EXPECT_EQ(cube.left, 0);
  EXPECT_EQ(cube.top, 0);
  EXPECT_EQ(cube.right, 1280);
  EXPECT_EQ(cube.bottom, 1024);
}

// The first foreground window after start-up is only recorded, even off
// screen, and a window already seen starts nothing. A parked window chosen
// after one on the screen turns the cube to its desktop.
TEST_F(SessionTest, ForegroundFollowTurnsToTheParkedWindowsDesktop) {
  UserActivates(parkedNext);
  EXPECT_EQ(form.LastForeground(), parkedNext);
  UserActivates(parkedNext);
  EXPECT_FALSE(form.SessionActive());

  UserActivates(left);
  EXPECT_FALSE(form.SessionActive());
  UserActivates(parkedNext);
  EXPECT_TRUE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
  RunUntilHidden();
  EXPECT_EQ(LeftOf(parkedNext), 1100 - kWidth);
  EXPECT_EQ(LeftOf(left), 10 - kWidth);
}

// With a monitor right of the primary, a window on it is on the desktop
// shown and starts nothing; one beyond both is one desktop on.
TEST_F(FormTest, ForegroundFollowReadsTheWholeVirtualScreen) {
  const platform::Rect primary{0, 0, kWidth, kHeight};
  const platform::Rect second{kWidth, 0, kWidth + 800, 600};
  desktop.UseMonitors({{primary, primary}, {second, second}});
  const auto here = desktop.AddWindow("Here", platform::Rect{10, 20, 410, 320});
  const auto beside = desktop.AddWindow("Beside", platform::Rect{1100, 20, 1500, 320});
  const auto next = desktop.AddWindow("Next", platform::Rect{1900, 20, 2300, 320});
  Start();
  UserActivates(here);
  UserActivates(beside);
  EXPECT_FALSE(form.SessionActive());
  UserActivates(next);
  EXPECT_TRUE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
  RunUntilHidden();
  EXPECT_EQ(LeftOf(next), 1900 - 1824);
  EXPECT_EQ(LeftOf(beside), 1100 - 1824);
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
  Start();
  for (int i = 0; i < c.startDesktop; ++i) {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }
  // Opened on the desktop reached, where the case puts them.
  const auto before = desktop.AddWindow("Before", platform::Rect{10, 20, 410, 320});
  const auto window = desktop.AddWindow("Target", c.rect, c.visible);
  UserActivates(before);
  desktop.cursor = {500, 400};
  const int paints = desktop.paints;
  UserActivates(window);

  const desktops::CubeMotion& motion = form.Motion();
  EXPECT_EQ(form.SessionActive(), c.opens);
  EXPECT_EQ(motion.CurrentDesktop(), c.desktop);
  EXPECT_FLOAT_EQ(motion.Target().yaw, c.targetYaw);
  EXPECT_EQ(form.LastForeground(), c.visible ? window : before);
  if (!c.opens) {
    EXPECT_EQ(desktop.paints, paints);
    return;
  }
  EXPECT_FALSE(motion.MouseTurning());
  EXPECT_FLOAT_EQ(motion.Target().zoomOut, 0);
  EXPECT_FLOAT_EQ(motion.Shown().zoomOut, 0);
  EXPECT_FLOAT_EQ(motion.Target().pitch, 0);
  EXPECT_FLOAT_EQ(motion.Shown().yaw, c.shownYaw);
  EXPECT_EQ(desktop.paints, paints + 1);
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

TEST_F(SessionTest, ForegroundChangesDuringASessionAreOnlyRecorded) {
  UserActivates(left);
  desktop.cursor = {500, 400};
  desktop.leftDown = true;
  form.WMHotKey(app::kHotkeyRight);
  const int paints = desktop.paints;
  desktop.tick += 10;
  UserActivates(parkedNext);
  EXPECT_EQ(form.LastForeground(), parkedNext);
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
  EXPECT_FLOAT_EQ(form.Motion().Target().yaw, -90);
  EXPECT_EQ(desktop.paints, paints + 1);  // this tick's own paint, no nested session
}

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
  UserActivates(active);
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
  UserActivates(parked);

  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 0);
  const platform::WindowHandle expected = GetParam().otherOnScreen ? other : shellWindow;
  EXPECT_EQ(desktop.foreground, expected);
  EXPECT_EQ(form.LastForeground(), expected);
  EXPECT_EQ(LeftOf(parked), 1100);
}

INSTANTIATE_TEST_SUITE_P(Windows, SystemActivationTest,
                         testing::Values(SystemActivation{Gone::kClosed, true},
                                         SystemActivation{Gone::kMinimised, true},
                                         SystemActivation{Gone::kHidden, true},
                                         SystemActivation{Gone::kClosed, false}));

TEST_F(SessionTest, FollowWinsTheTickAndTheSignalWaitsForTheNextHiddenTick) {
  UserActivates(left);
  desktop.files.insert(SignalFile());
  UserActivates(parkedNext);
  // The follow step's session, already snapped; the file was not looked at.
  ASSERT_TRUE(form.SessionActive());
  EXPECT_FALSE(form.Motion().MouseTurning());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);

  RunUntilHidden();
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);
  TimerTick();
  EXPECT_TRUE(form.SessionActive());
  EXPECT_TRUE(form.Motion().MouseTurning());
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
}

TEST_F(SessionTest, SignalWithTheButtonUpChangesNothing) {
  desktop.files.insert(SignalFile());
  TimerTick();
  ASSERT_TRUE(form.SessionActive());
  RunUntilHidden();
  EXPECT_EQ(form.Motion().CurrentDesktop(), 0);
  EXPECT_EQ(LeftOf(left), 10);
  EXPECT_EQ(MovesOf(left), 1);  // moved in place all the same
}

// A signal file that cannot be removed would open a session after every
// session, for good. It opens none and is passed over until it is written
// again; removed then, it opens one.
TEST_F(SessionTest, UndeletableSignalWaitsUntilItIsWrittenAgain) {
  desktop.files.insert(SignalFile());
  desktop.undeletable.insert(SignalFile());
  desktop.writeTimes[SignalFile()] = 1;
  desktop.lastError = 5;  // access denied
  for (int i = 0; i < 3; ++i) {
    form.WMSignalWritten();
    EXPECT_FALSE(form.SessionActive());
  }
  EXPECT_EQ(desktop.faultLog.lines(),
            std::vector<std::string>{"signal file not removed, passed over until it is written "
                                     "again: " +
                                     SignalFile() + " (error 5)"});
  desktop.undeletable.clear();
  form.WMSignalWritten();
  EXPECT_FALSE(form.SessionActive());  // the same file still
  desktop.writeTimes[SignalFile()] = 2;
  form.WMSignalWritten();
  EXPECT_TRUE(form.SessionActive());
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
}

// Between sessions nothing runs but on an event: the system's report of a
// new foreground window runs the follow rule, the library's report of its
// signal file opens a session; during a session the reports wait for the
// tick after it.
TEST_F(SessionTest, IdleWaitsForEvents) {
  UserActivates(left);  // the tick after start-up records the foreground
  EXPECT_EQ(desktop.tickInterval, 0u);

  desktop.foreground = parkedNext;
  form.WMForegroundChanged();
  EXPECT_TRUE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 1);
  desktop.files.insert(SignalFile());
  const int paints = desktop.paints;
  form.WMSignalWritten();
  form.WMForegroundChanged();
  EXPECT_EQ(desktop.paints, paints);  // the session's own ticks do the work
  RunUntilHidden();
  EXPECT_EQ(desktop.files.count(SignalFile()), 1u);
  TimerTick();  // the tick after the session takes the file
  EXPECT_TRUE(form.Motion().MouseTurning());
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
  RunUntilHidden();
  TimerTick();
  EXPECT_EQ(desktop.tickInterval, 0u);

  desktop.files.insert(SignalFile());
  form.WMSignalWritten();
  EXPECT_TRUE(form.SessionActive());
  EXPECT_TRUE(form.Motion().MouseTurning());
}

TEST_F(SessionTest, HiddenTickDoesOnlyItsTwoLookups) {
  UserActivates(left);
  const int queries = desktop.foregroundQueries;
  const int checks = desktop.fileChecks;
  // The handler itself, though the timer is off between sessions: what a
  // hidden tick costs.
  for (int i = 0; i < 100; ++i) form.Timer1Timer();
  EXPECT_EQ(desktop.foregroundQueries - queries, 100);
  EXPECT_EQ(desktop.fileChecks - checks, 100);
  EXPECT_EQ(desktop.paints, 0);
  EXPECT_TRUE(desktop.moves.empty());
}

// What the uninstaller asks for: after sessions parked them, every desktop's
// windows stand on the screen where they stand while their own desktop is
// shown.
TEST_F(SessionTest, GatheringBringsEveryDesktopsWindowsToTheirOwnPlaceOnScreen) {
  // Desktop 1 is shown: the fixture's desktop-0 windows stand one width to
  // the left, and windows of desktops 2 and 3 one width right and two left
  // (wrapped to two right).
  form.WMHotKey(app::kHotkeyRight);
  RunUntilHidden();
  const auto two = desktop.AddWindow("Two", platform::Rect{kWidth + 50, 40, kWidth + 350, 240});
  const auto three =
      desktop.AddWindow("Three", platform::Rect{2 * kWidth + 700, 60, 2 * kWidth + 900, 260});
  // Minimised, one parked two on and one on screen: their icons stand where
  // the system keeps minimised windows.
  const platform::Rect icon{-32000, -32000, -31840, -31972};
  const auto minimisedParked = desktop.AddWindow("MinParked", icon);
  const auto minimisedShown = desktop.AddWindow("MinShown", icon);
  desktop.Window(minimisedParked).minimised = desktop.Window(minimisedShown).minimised = true;
  desktop.Window(minimisedParked).restoreRect =
      platform::Rect{2 * kWidth + 300, 80, 2 * kWidth + 500, 280};
  desktop.Window(minimisedShown).restoreRect = platform::Rect{20, 30, 220, 230};
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
    EXPECT_EQ(move.flags, desktops::kArrangeFlags);
    EXPECT_EQ(move.y, desktop.Window(move.window).rect.top);
  }
  EXPECT_EQ(desktop.moves.size(), 4u);
  // A minimised window keeps its icon and comes back on the screen.
  EXPECT_EQ(MovesOf(minimisedParked) + MovesOf(minimisedShown), 0);
  EXPECT_EQ(desktop.Window(minimisedParked).restoreRect.left, 300);
  EXPECT_EQ(desktop.Window(minimisedParked).restoreRect.top, 80);
  EXPECT_EQ(desktop.Window(minimisedParked).restoreRect.right, 500);
  EXPECT_EQ(desktop.Window(minimisedShown).restoreRect.left, 20);
  EXPECT_EQ(std::count_if(desktop.log.begin(), desktop.log.end(),
                          [](const std::string& line) { return line.rfind("restore at", 0) == 0; }),
            1);
}

// Quit, a close request and the end of the user's session bring every
// window home, from whichever desktop is shown, a minimised parked one too.
class EndingTest : public SessionTest, public testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(EndingTest, BringsEveryWindowHome) {
  const auto [shown, endOfSession] = GetParam();
  const auto two =
      desktop.AddWindow("Two", platform::Rect{2 * kWidth + 50, 40, 2 * kWidth + 350, 240});
  const auto three =
      desktop.AddWindow("Three", platform::Rect{-kWidth + 70, 60, -kWidth + 270, 260});
  const auto minimised = desktop.AddWindow("Min", platform::Rect{-32000, -32000, -31840, -31972});
  desktop.Window(minimised).minimised = true;
  desktop.Window(minimised).restoreRect = platform::Rect{kWidth + 30, 80, kWidth + 230, 280};
  for (int i = 0; i < shown; ++i) {
    form.WMHotKey(app::kHotkeyRight);
    RunUntilHidden();
  }
  ASSERT_EQ(form.Motion().CurrentDesktop(), shown);
  if (endOfSession) {
    form.WMQueryEndSession();
  } else {
    form.FormClose();
  }
  for (const auto window : {left, right, parkedNext, two, three}) {
    const std::int32_t x = LeftOf(window);
    EXPECT_TRUE(x >= 0 && x < kWidth) << desktop.Window(window).className << " at " << x;
  }
  const platform::Rect restore = desktop.Window(minimised).restoreRect;
  EXPECT_TRUE(restore.left >= 0 && restore.left < kWidth) << restore.left;
  EXPECT_TRUE(desktop.faultLog.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(EachDesktop, EndingTest,
                         testing::Combine(testing::Range(0, 4), testing::Bool()));

struct TempPathCase {
  std::string name;
  std::uint32_t needed;  // length the system reports for the path
  std::string path;      // what a big enough buffer receives
  std::string expected;
};

class TempPathTest : public testing::TestWithParam<TempPathCase> {};

TEST_P(TempPathTest, BuildsTheSignalFilePathSafely) {
  const TempPathCase c = GetParam();
  platform::FakeDesktop desktop;
  desktop.tempPathOverride = [c](std::uint32_t length, char* buffer) -> std::uint32_t {
    if (c.needed == 0) return 0;
    if (c.needed > length) return c.needed;
    std::copy(c.path.begin(), c.path.end(), buffer);
    buffer[c.path.size()] = 0;
    return static_cast<std::uint32_t>(c.path.size());
  };
  EXPECT_EQ(desktops::SignalFilePath(desktop), c.expected);
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
