#include "app/command_line.h"

#include <sstream>

#include "lang/lang_text.h"

namespace app {

namespace {
// Digits of a handle value: 19 never overflow 64 bits, and handles are far
// shorter.
constexpr std::size_t kLongestValue = 19;
}  // namespace

bool AsksToGatherWindows(const std::string& commandLine) {
  return lang::LowerAscii(lang::TrimControls(commandLine)) == kGatherWindowsSwitch;
}

std::string WatchCommandLine(const platform::WatchHandles& handles) {
  return std::string(kWatchSwitch) + " " + std::to_string(handles.program) + " " +
         std::to_string(handles.cleanEnd) + " " + std::to_string(handles.state);
}

bool AsksToWatch(const std::string& commandLine) {
  std::istringstream words(commandLine);
  std::string first;
  words >> first;
  return lang::LowerAscii(first) == kWatchSwitch;
}

bool ReadWatchCommandLine(const std::string& commandLine, platform::WatchHandles* handles) {
  if (!AsksToWatch(commandLine)) return false;
  std::istringstream words(commandLine);
  std::string word;
  words >> word;
  std::uint64_t* const values[] = {&handles->program, &handles->cleanEnd, &handles->state};
  for (std::uint64_t* value : values) {
    if (!(words >> word) || word.find_first_not_of("0123456789") != std::string::npos ||
        word.size() > kLongestValue) {
      return false;
    }
    *value = std::stoull(word);
  }
  return !(words >> word);
}

}  // namespace app
