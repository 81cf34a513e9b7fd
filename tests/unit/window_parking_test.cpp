// The parking of the desktops' windows: which windows take part, how they
// are shifted by whole screen widths, the taskbar, and which window takes
// the keyboard on the desktop shown.
#include "desktops/window_parking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/watcher_recovery.h"
#include "form_fixture.h"
#include "tests/support/fake/fake_log.h"

namespace {

class WindowParkingTest : public DesktopTest {
 protected:
  desktops::WindowParking parking{desktop};
};

// What the watcher does after an unclean end: the taskbar shown, the windows
// hidden for the start-up picture shown on the screen (one of them parked),
// every parked window gathered; a move the system refuses is logged.
TEST_F(WindowParkingTest, RecoveryAfterAnUncleanEndLeavesNothingOutOfReach) {
  desktop.Window(taskbar).visible = false;
  const auto hiddenHere = desktop.AddWindow("HiddenHere", {10, 10, 300, 200}, false);
  const auto hiddenParked =
      desktop.AddWindow("HiddenParked", {2 * kWidth + 40, 10, 2 * kWidth + 300, 200}, false);
  const auto parked = desktop.AddWindow("Parked", {kWidth + 60, 10, kWidth + 300, 200});
  const auto elevated = desktop.AddWindow("Elevated", {kWidth + 80, 10, kWidth + 300, 200});
  desktop.Window(elevated).refusesMoves = true;
  desktop.lastError = 5;
  platform::FakeLog log;
  app::RecoverDesktop(desktop, {hiddenHere, hiddenParked}, log);
  EXPECT_TRUE(desktop.Window(taskbar).visible);
  EXPECT_TRUE(desktop.Window(hiddenHere).visible && desktop.Window(hiddenParked).visible);
  EXPECT_EQ(LeftOf(hiddenHere), 10);
  EXPECT_EQ(LeftOf(hiddenParked), 40);
  EXPECT_EQ(LeftOf(parked), 60);
  EXPECT_EQ(log.lines().size(), 2u);
  EXPECT_TRUE(log.Has("2 windows hidden for the start-up picture, 3 windows moved or shown"));
  EXPECT_TRUE(log.Has("watcher: 1 windows could not be moved onto the screen (error 5)"));
}

// Windows parked beside the screen are visible, so every desktop's windows
// are collected, tool windows and minimised ones too; hidden and layered
// windows and the shell's windows on every desktop stay where they are.
TEST_F(WindowParkingTest, CollectsTheWindowsOfEveryDesktopButNotTheShell) {
  using Window = platform::FakeWindow;
  const auto parkedAt = [](std::int32_t left) {
    return [left](Window& w) { w.rect = platform::Rect{left, 20, left + 300, 320}; };
  };
  const struct {
    std::string name;
    bool collected;
    // Makes it from a plain window on the screen.
    std::function<void(Window&)> make;
  } kinds[] = {
      {"Plain", true, [](Window&) {}},
      {"ParkedNextDesktop", true, parkedAt(1100)},
      {"ParkedPreviousDesktop", true, parkedAt(-900)},
      {"Hidden", false, [](Window& w) { w.visible = false; }},
      {"Layered", false, [](Window& w) { w.exStyle = platform::kExStyleLayered; }},
      {"ToolWindow", true, [](Window& w) { w.exStyle = platform::kExStyleToolWindow; }},
      {"Minimised", true, [](Window& w) { w.minimised = true; }},
      {"SecondaryTaskbar", false, [](Window& w) { w.className = "Shell_SecondaryTrayWnd"; }},
      {"DesktopIcons", false,
       [](Window& w) {
         w.className = "WorkerW";
         w.childClasses = {"SHELLDLL_DefView"};
       }},
      {"PlainWorkerW", true, [](Window& w) { w.className = "WorkerW"; }},
      {"Cloaked", false, [](Window& w) { w.cloaked = true; }},
  };
  std::vector<platform::WindowHandle> expected;
  std::vector<platform::WindowHandle> added;
  for (const auto& kind : kinds) {
    const platform::WindowHandle window =
        desktop.AddWindow("Notepad", platform::Rect{10, 20, 310, 320});
    kind.make(desktop.Window(window));
    added.push_back(window);
    if (kind.collected) expected.push_back(window);
  }

  parking.CollectWindows();
  for (std::size_t i = 0; i < added.size(); ++i) {
    const bool collected =
        std::count(parking.managedWindows.begin(), parking.managedWindows.end(), added[i]) == 1;
    EXPECT_EQ(collected, kinds[i].collected) << kinds[i].name;
  }
  // In the order the system lists them, topmost first; not the shell.
  EXPECT_EQ(parking.managedWindows, expected);
  EXPECT_EQ(parking.progmanWindow, shellWindow);
  EXPECT_EQ(parking.trayWindow, taskbar);
}

// The shell restarts between sessions: its new windows are found at the
// next collection, and the taskbar is looked for at every show and hide.
TEST_F(WindowParkingTest, ShellWindowsAreLookedUpAfreshEveryTime) {
  const auto window = desktop.AddWindow("Notepad", platform::Rect{10, 20, 410, 320});
  parking.CollectWindows();
  desktop.Window(shellWindow).closed = true;
  desktop.Window(taskbar).closed = true;
  const auto newShell = desktop.AddWindow("Progman", platform::Rect{0, 0, kWidth, kHeight});
  const auto newTaskbar =
      desktop.AddWindow("Shell_TrayWnd", platform::Rect{0, 738, kWidth, kHeight});

  parking.CollectWindows();
  EXPECT_EQ(parking.progmanWindow, newShell);
  EXPECT_EQ(parking.trayWindow, newTaskbar);
  EXPECT_EQ(parking.managedWindows, std::vector<platform::WindowHandle>{window});

  // Hidden and shown in place, without activation and without waiting.
  parking.ShowTaskbar(false);
  EXPECT_FALSE(desktop.Window(newTaskbar).visible);
  parking.ShowTaskbar(true);
  EXPECT_TRUE(desktop.Window(newTaskbar).visible);
  const std::vector<std::string> expected = {
      MoveEntry(newTaskbar, 0, 0, desktops::kHideTaskbarFlags),
      MoveEntry(newTaskbar, 0, 0, desktops::kShowTaskbarFlags)};
  EXPECT_EQ(desktop.log, expected);
}

struct ArrangeCase {
  std::string name;
  std::int32_t arranged;
  std::int32_t desktop;
  std::vector<std::int32_t> lefts;     // before
  std::vector<std::int32_t> expected;  // after
};

class ArrangeWindowsTest : public WindowParkingTest,
                           public testing::WithParamInterface<ArrangeCase> {};

// Every managed window is moved by the distance from the recorded layout to
// the desktop asked for, its left edge brought into -w .. 3w; its top stays,
// and each receives the move, also when it stays where it is.
TEST_P(ArrangeWindowsTest, ShiftsFromTheRecordedLayoutToTheDesktop) {
  const ArrangeCase c = GetParam();
  std::vector<platform::WindowHandle> windows;
  for (std::int32_t left : c.lefts) {
    windows.push_back(desktop.AddWindow("W", platform::Rect{left, 5, left + 100, 105}));
  }
  parking.CollectWindows();
  parking.SetArrangedDesktop(c.arranged);
  parking.ArrangeWindows(c.desktop);
  EXPECT_EQ(parking.arrangedDesktop, c.arranged);
  std::vector<std::int32_t> lefts;
  for (platform::WindowHandle window : windows) lefts.push_back(LeftOf(window));
  EXPECT_EQ(lefts, c.expected);
  ASSERT_EQ(desktop.moves.size(), windows.size());
  for (const platform::FakeMove& move : desktop.moves) {
    EXPECT_EQ(move.y, 5);
    EXPECT_EQ(move.flags, desktops::kArrangeFlags);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ArrangeWindowsTest,
    testing::Values(
        ArrangeCase{
            "OneForward", 0, 1, {10, 1100, 2100, 3000, -1000}, {-1014, 76, 1076, 1976, 2072}},
        ArrangeCase{"OneBack", 1, 0, {-1014, 76, 1076, 1976}, {10, 1100, 2100, 3000}},
        ArrangeCase{"TwoApart", 3, 1, {0, 2048, -1024}, {2048, 0, 1024}},
        ArrangeCase{"Same", 2, 2, {-1024, 3072, 5000, -2000}, {-1024, 3072, 904, 2096}},
        ArrangeCase{"Empty", 3, 1, {}, {}}),
    [](const testing::TestParamInfo<ArrangeCase>& info) { return info.param.name; });

struct HandOffCase {
  std::string name;
  std::int32_t desktop;  // arranged to, from desktop 0
  // Windows above the two of the test, on the desktop reached: a tool
  // window and a minimised one, which are passed over.
  bool passedOverAbove;
  bool expectDesktopWindow;  // else the window that now stands on the screen
};

class KeyboardWindowTest : public WindowParkingTest,
                           public testing::WithParamInterface<HandOffCase> {};

// The keyboard goes to the topmost window standing on the desktop arranged
// that takes it as the user gives it, or to the desktop when there is none;
// judged by where the arrangement put the windows, whose moves are not
// waited for.
TEST_P(KeyboardWindowTest, GoesToTheDesktopArranged) {
  const HandOffCase c = GetParam();
  if (c.passedOverAbove) {
    desktop.AddWindow("Tool", platform::Rect{1100, 0, 1200, 50}, true,
                      platform::kExStyleToolWindow);
    const auto minimised = desktop.AddWindow("Min", platform::Rect{-32000, -32000, -31840, -31970});
    desktop.Window(minimised).minimised = true;
  }
  desktop.AddWindow("Here", platform::Rect{10, 20, 410, 320});
  const auto next = desktop.AddWindow("Next", platform::Rect{1100, 20, 1300, 320});
  parking.CollectWindows();
  parking.SetArrangedDesktop(0);
  parking.ArrangeWindows(c.desktop);
  EXPECT_EQ(parking.KeyboardWindowArranged(), c.expectDesktopWindow ? shellWindow : next);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, KeyboardWindowTest,
    testing::Values(HandOffCase{"ToTheWindowOnScreen", 1, false, false},
                    HandOffCase{"PastToolAndMinimisedWindows", 1, true, false},
                    HandOffCase{"ToTheDesktopWhenItHasNoWindow", 2, false, true}),
    [](const testing::TestParamInfo<HandOffCase>& info) { return info.param.name; });

}  // namespace
