#pragma once
// Kernel services the logic needs: the tick count, sleeping, the temporary
// directory and a few file operations.
#include <cstdint>
#include <string>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps around after 2^32.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Behaves like GetTempPathA: on success copies the path (ending in a
  // separator as a rule) with its terminating zero and returns its length
  // without the zero; when the buffer is too small returns the size needed,
  // zero included, and leaves the buffer alone; returns 0 on failure.
  virtual std::uint32_t TempPath(std::uint32_t bufferLength, char* buffer) = 0;
  // True for an existing file (a directory does not count).
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
};

}  // namespace platform
