#pragma once
// The record of failures the program survives: a refused move, a picture
// that did not load, a hotkey another program holds. One line each, so that
// a fault on a stranger's machine can be diagnosed afterwards.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class Log {
 public:
  virtual ~Log() = default;
  // What failed, in a few words; its cause where the caller knows it.
  void Write(const std::string& what) { Append(what, 0); }
  // Also with the system's error code (GetLastError's); the line then
  // carries the system's text for it.
  void Write(const std::string& what, std::uint32_t systemError) { Append(what, systemError); }

 protected:
  virtual void Append(const std::string& what, std::uint32_t systemError) = 0;
};

// Each of the log's two files stays below this; when a line would pass it the
// older file is replaced by the current one and a new one begins.
constexpr std::size_t kLogFileLimit = 256 * 1024;

// Whether a line of `lineBytes` must start a new file after `fileBytes`.
// A line is never split, and a line longer than the limit is cut to it by
// the writer, so an empty file always takes the next line.
constexpr bool LogStartsNewFile(std::size_t fileBytes, std::size_t lineBytes) {
  return fileBytes > 0 && fileBytes + lineBytes > kLogFileLimit;
}

}  // namespace platform
