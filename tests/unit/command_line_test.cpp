// The program's command line: the switch that gathers the windows and the
// one that starts the watcher with its handles.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(CommandLineTest, OnlyTheGatherSwitchAsksForGathering) {
  const std::pair<const char*, bool> cases[] = {
      {"/gatherwindows", true}, {" /GatherWindows ", true},  {"", false},
      {"/gather", false},       {"/gatherwindows x", false}, {"gatherwindows", false}};
  for (const auto& [line, gathers] : cases)
    EXPECT_EQ(app::AsksToGatherWindows(line), gathers) << line;
}

// The watcher's command line as the program writes it reads back; anything
// else typed after the switch is no watcher's and does nothing.
TEST(CommandLineTest, TheWatcherReadsBackTheHandlesItWasGiven) {
  const platform::WatchHandles given{1234, 18446744073709551ull, 7};
  platform::WatchHandles read;
  ASSERT_TRUE(app::ReadWatchCommandLine(app::WatchCommandLine(given), &read));
  EXPECT_EQ(std::tie(read.program, read.cleanEnd, read.state),
            std::tie(given.program, given.cleanEnd, given.state));
  for (const char* line : {"/watch", "/watch 1 2", "/watch 1 2 3 4", "/watch 1 -2 3",
                           "/watch 1 2 x", "/watch 1 2 99999999999999999999", "/gatherwindows"}) {
    EXPECT_FALSE(app::ReadWatchCommandLine(line, &read)) << line;
  }
  EXPECT_TRUE(app::AsksToWatch(" /WATCH 1 2 x"));
  EXPECT_FALSE(app::AsksToWatch("/gatherwindows"));
}

}  // namespace
