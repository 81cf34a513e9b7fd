#include "app/command_line.h"

#include "lang/lang_text.h"

namespace app {

bool AsksToGatherWindows(const std::string& commandLine) {
  return lang::LowerAscii(lang::TrimControls(commandLine)) == kGatherWindowsSwitch;
}

}  // namespace app
