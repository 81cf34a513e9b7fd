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
      {"RunAsAdministrator", false, [](Window& w) { w.aboveOwnIntegrity = true; }},
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
        std::count(parking.ManagedWindows().begin(), parking.ManagedWindows().end(), added[i]) == 1;
    EXPECT_EQ(collected, kinds[i].collected) << kinds[i].name;
  }
  // In the order the system lists them, topmost first; not the shell.
  EXPECT_EQ(parking.ManagedWindows(), expected);
  EXPECT_EQ(parking.Shell().desktop, shellWindow);
  EXPECT_EQ(parking.Shell().taskbar, taskbar);
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
  EXPECT_EQ(parking.Shell().desktop, newShell);
  EXPECT_EQ(parking.Shell().taskbar, newTaskbar);
  EXPECT_EQ(parking.ManagedWindows(), std::vector<platform::WindowHandle>{window});

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
  EXPECT_EQ(parking.ArrangedDesktop(), c.arranged);
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

namespace {

using platform::Rect;

// Monitors around the 1024 x 768 primary, the first in each list.
struct MonitorsCase {
  std::string name;
  std::vector<Rect> areas;
};

std::vector<platform::Monitor> MonitorsOf(const std::vector<Rect>& areas) {
  std::vector<platform::Monitor> monitors;
  for (const Rect& area : areas) monitors.push_back(platform::Monitor{area, area, false});
  return monitors;
}

bool Intersects(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const MonitorsCase kArrangements[] = {
    {"PrimaryAlone", {{0, 0, 1024, 768}}},
    {"Right", {{0, 0, 1024, 768}, {1024, 0, 1824, 600}}},
    {"LeftAtNegativeX", {{0, 0, 1024, 768}, {-800, 0, 0, 600}}},
    {"Above", {{0, 0, 1024, 768}, {0, -600, 800, 0}}},
    {"OfAnotherHeight", {{0, 0, 1024, 768}, {1024, -256, 2304, 768}}},
    {"ThreeInARow", {{0, 0, 1024, 768}, {-1280, 0, 0, 1024}, {1024, 0, 2048, 768}}},
};

class MonitorArrangementTest : public DesktopTest,
                               public testing::WithParamInterface<MonitorsCase> {};

// Every desktop gets a window on every monitor. Through eight switches, the
// windows of the desktop shown stand where they were opened, those of the
// others on no monitor, and each is read back as the desktop it belongs to.
TEST_P(MonitorArrangementTest, ParkedWindowsShowOnNoMonitor) {
  const MonitorsCase c = GetParam();
  desktop.UseMonitors(MonitorsOf(c.areas));
  desktops::WindowParking parking{desktop};
  struct Opened {
    platform::WindowHandle window;
    int desktop;
    Rect rect;
  };
  std::vector<Opened> opened;
  for (int step = 0; step < 2 * desktops::kDesktopCount; ++step) {
    const int shown = step % desktops::kDesktopCount;
    for (const Opened& o : opened) {
      const Rect now = desktop.Window(o.window).rect;
      const int offset = desktops::DesktopOffsetOf(now, parking.LayoutSpan());
      EXPECT_EQ(desktops::WrapDesktop(shown + offset), o.desktop) << "step " << step;
      if (o.desktop == shown) {
        EXPECT_EQ(now.left, o.rect.left) << "step " << step;
        continue;
      }
      for (const Rect& area : c.areas) {
        EXPECT_FALSE(Intersects(now, area)) << "step " << step << " window at " << now.left;
      }
    }
    if (step < desktops::kDesktopCount) {
      for (const Rect& area : c.areas) {
        const Rect rect{area.left + 40, area.top + 30, area.left + 440, area.top + 330};
        opened.push_back({desktop.AddWindow("W", rect), shown, rect});
      }
    }
    parking.CollectWindows();
    parking.SetArrangedDesktop(shown);
    parking.ArrangeWindows(desktops::WrapDesktop(shown + 1));
  }
}

INSTANTIATE_TEST_SUITE_P(Monitors, MonitorArrangementTest, testing::ValuesIn(kArrangements),
                         [](const testing::TestParamInfo<MonitorsCase>& info) {
                           return info.param.name;
                         });

// A window of the desktop reached that stands on the second monitor is on
// the screen: it gets the keyboard.
TEST_F(DesktopTest, KeyboardGoesToAWindowOnTheSecondMonitor) {
  desktop.UseMonitors(MonitorsOf({{0, 0, 1024, 768}, {1024, 0, 1824, 600}}));
  desktops::WindowParking parking{desktop};
  const auto beside = desktop.AddWindow("Beside", Rect{1100 + 1824, 20, 1400 + 1824, 320});
  parking.CollectWindows();
  parking.SetArrangedDesktop(0);
  parking.ArrangeWindows(1);
  EXPECT_EQ(parking.KeyboardWindowArranged(), beside);
}

// A change of displays, with the windows standing as the layout over the
// displays before put them (desktop 0 shown).
struct DisplayChangeCase {
  std::string name;
  std::vector<Rect> before;
  std::vector<Rect> after;
  std::vector<platform::Point> at;        // top-left corners, all 400 x 300
  std::vector<platform::Point> expected;  // afterwards
};

class DisplayChangeTest : public DesktopTest,
                          public testing::WithParamInterface<DisplayChangeCase> {};

// Each window keeps its desktop and its place on it; a place on a monitor
// that is gone comes onto the primary's work area, whole. A window that
// stays where it is is not moved.
TEST_P(DisplayChangeTest, KeepsEveryWindowOnItsDesktopAndPlace) {
  const DisplayChangeCase c = GetParam();
  desktop.UseMonitors(MonitorsOf(c.before));
  desktops::WindowParking parking{desktop};
  std::vector<platform::WindowHandle> windows;
  for (const platform::Point& p : c.at) {
    windows.push_back(desktop.AddWindow("W", Rect{p.x, p.y, p.x + 400, p.y + 300}));
  }
  std::vector<platform::Monitor> after = MonitorsOf(c.after);
  after.front().work.bottom -= 40;  // a taskbar at the bottom of the primary
  desktop.UseMonitors(after);
  const desktops::GatherResult done = parking.FollowDisplays();

  int expectedMoves = 0;
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const Rect now = desktop.Window(windows[i]).rect;
    EXPECT_EQ(now.left, c.expected[i].x) << "window " << i;
    EXPECT_EQ(now.top, c.expected[i].y) << "window " << i;
    if (c.expected[i].x != c.at[i].x || c.expected[i].y != c.at[i].y) ++expectedMoves;
  }
  EXPECT_EQ(done.moved, expectedMoves);
  EXPECT_EQ(done.refused, 0);
  EXPECT_EQ(desktop.moves.size(), static_cast<std::size_t>(expectedMoves));
  const desktops::Span span = parking.LayoutSpan();
  EXPECT_EQ(span.left, desktop.VirtualScreen().left);
  EXPECT_EQ(span.width, desktop.VirtualScreen().right - desktop.VirtualScreen().left);
}

const Rect kPrimary{0, 0, 1024, 768};
const Rect kRight{1024, 0, 1824, 600};
const Rect kLeft{-800, 0, 0, 600};

INSTANTIATE_TEST_SUITE_P(
    Changes, DisplayChangeTest,
    testing::Values(
        // Right monitor unplugged. On it: a window of desktop 0 and ones
        // parked from it on desktops 1 and -1, each fitted onto the primary's
        // right edge; a window of desktop 1 from the primary; one that
        // Windows already moved onto the primary stays.
        DisplayChangeCase{
            "MonitorRemoved",
            {kPrimary, kRight},
            {kPrimary},
            {{1100, 50}, {1100 + 1824, 50}, {1100 - 1824, 500}, {100 + 1824, 50}, {300, 50}},
            {{624, 50}, {624 + 1024, 50}, {624 - 1024, 428}, {100 + 1024, 50}, {300, 50}}},
        // A monitor plugged in at the right: the parked windows move out by
        // the new width; those on the screen stay.
        DisplayChangeCase{"MonitorAdded",
                          {kPrimary},
                          {kPrimary, kRight},
                          {{1100, 20}, {-900, 20}, {2100, 20}, {100, 20}},
                          {{76 + 1824, 20}, {124 - 1824, 20}, {52 + 2 * 1824, 20}, {100, 20}}},
        DisplayChangeCase{"ResolutionChanged",
                          {{0, 0, 1024, 768}},
                          {{0, 0, 1280, 1024}},
                          {{1100, 20}, {-900, 20}, {100, 20}},
                          {{76 + 1280, 20}, {124 - 1280, 20}, {100, 20}}},
        // A monitor at the left moves the virtual screen's origin: parked
        // windows go by the new width from the new left edge.
        DisplayChangeCase{"OriginMovedLeft",
                          {kPrimary},
                          {kPrimary, kLeft},
                          {{1100, 20}, {-900, 20}, {2100, 20}},
                          {{76 + 1824, 20}, {124 - 1824, 20}, {52 + 2 * 1824, 20}}}),
    [](const testing::TestParamInfo<DisplayChangeCase>& info) { return info.param.name; });

// Three change messages in a row, the displays different at each, the last
// while a session runs: nothing moves before the session has ended and the
// displays have been still for the time given; the session arranges by the
// layout before, and then each window is re-placed once, by the last.
TEST_F(FormTest, DisplayChangesLeadToOneReplacementOnceStill) {
  const auto parked = desktop.AddWindow("Parked", Rect{1100, 20, 1500, 320});
  const auto here = desktop.AddWindow("Here", Rect{100, 20, 500, 320});
  Start();
  const std::vector<std::vector<Rect>> changes = {
      {{0, 0, 1280, 1024}}, {{0, 0, 1600, 1200}}, {kPrimary, kRight}};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    desktop.UseMonitors(MonitorsOf(changes[i]));
    form.WMDisplayChange();
    desktop.tick += app::kDisplaysStillMs / 2;
    EXPECT_TRUE(TimerTick()) << "the wait for still displays runs on the timer";
    if (i == 1) form.WMHotKey(app::kHotkeyRight);
  }
  RunUntilHidden();
  while (desktop.tickInterval != 0 && desktop.tick < 100000) {
    desktop.tick += desktop.tickInterval;
    TimerTick();
  }
  const auto movesOf = [&](platform::WindowHandle window) {
    return std::count_if(desktop.moves.begin(), desktop.moves.end(),
                         [&](const platform::FakeMove& m) { return m.window == window; });
  };
  EXPECT_EQ(LeftOf(parked), 1100 - 1024);
  EXPECT_EQ(movesOf(parked), 1);
  EXPECT_EQ(LeftOf(here), 100 - 1824);
  EXPECT_EQ(movesOf(here), 2);
  EXPECT_EQ(desktop.faultLog.lines(),
            std::vector<std::string>{"displays changed: virtual screen from x 0, 1024 wide, to "
                                     "x 0, 1824 wide; windows re-placed 1, refused 0"});
}

}  // namespace
