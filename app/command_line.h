#pragma once
// The program's one command-line switch. Without it the program starts as
// usual; the uninstaller runs it with the switch to bring the windows of
// every desktop onto the screen before the program goes.
#include <string>

namespace app {

inline constexpr const char* kGatherWindowsSwitch = "/gatherwindows";

// Whether the command line (without the program's name) is that switch,
// in any letter case and with any spaces around it.
bool AsksToGatherWindows(const std::string& commandLine);

}  // namespace app
