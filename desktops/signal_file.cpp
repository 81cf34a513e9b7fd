#include "desktops/signal_file.h"

#include <vector>

#include "platform/shell.h"

namespace desktops {

namespace {
// The longest path the system's file functions accept.
constexpr std::uint32_t kLongestPath = 32767;
}  // namespace

std::string SignalFilePath(platform::FileSystem& files) {
  std::vector<char> buffer(kTempPathBufferLength);
  std::uint32_t length = files.TempPath(kTempPathBufferLength, buffer.data());
  if (length >= buffer.size()) {
    // Too long for the usual buffer: the answer is the size it needs. Ask
    // once more with that; a path longer than any Windows path, or one still
    // growing, counts as none.
    if (length <= kLongestPath) {
      buffer.assign(length, '\0');
      length = files.TempPath(static_cast<std::uint32_t>(buffer.size()), buffer.data());
    }
    if (length >= buffer.size()) length = 0;
  }
  std::string directory(buffer.data(), length);
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory + platform::kSignalFileName;
}

}  // namespace desktops
