#pragma once
// The program's command-line switches. Without one the program starts as
// usual; the uninstaller runs it with /gatherwindows to bring the windows of
// every desktop onto the screen before the program goes, and the program
// starts its own watcher with /watch.
#include <string>

#include "platform/watcher.h"

namespace app {

inline constexpr const char* kGatherWindowsSwitch = "/gatherwindows";
inline constexpr const char* kWatchSwitch = "/watch";

// Whether the command line (without the program's name) is that switch,
// in any letter case and with any spaces around it.
bool AsksToGatherWindows(const std::string& commandLine);

// The watcher's command line: the switch and the three handle values.
std::string WatchCommandLine(const platform::WatchHandles& handles);
// Whether the command line starts with the watcher's switch; the program
// then runs as the watcher and nothing else.
bool AsksToWatch(const std::string& commandLine);
// The handle values of a watcher's command line; false unless it is the
// switch and exactly three whole decimal numbers.
bool ReadWatchCommandLine(const std::string& commandLine, platform::WatchHandles* handles);

}  // namespace app
