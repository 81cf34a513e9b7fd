#pragma once
// Kernel services the logic needs: the tick count, sleeping, the temporary
// directory and a few file operations.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps around after 2^32.
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// What came of reading a whole file.
enum class FileRead {
  kOk,
  kMissing,     // no such file (a directory of that name does not count)
  kCannotOpen,  // it exists but cannot be opened or read (locked, no access)
  kTooLarge,    // longer than the caller allows; nothing was read
};

// What tells a changed file from the one read before, without reading it.
struct FileStamp {
  bool exists = false;  // a file (a directory does not count)
  std::uint64_t size = 0;
  std::uint64_t writeTime = 0;  // the system's last-write time
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && size == other.size && writeTime == other.writeTime;
  }
  bool operator!=(const FileStamp& other) const { return !(*this == other); }
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
  // The file's size and last-write time, read from its directory entry (so
  // also for a file another program holds open).
  virtual FileStamp Stamp(const std::string& path) = 0;
  // The system's code for why the last call that failed on this thread
  // failed (GetLastError), for the log.
  virtual std::uint32_t LastError() = 0;
  // When the file was last written, in the system's file-time units; false
  // when that cannot be read.
  virtual bool WriteTime(const std::string& path, std::uint64_t* time) = 0;
  // Reads the whole file into `data`. With `exclusive` the file is opened
  // without sharing, so no other program may hold it open meanwhile.
  virtual FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, bool exclusive,
                                 std::vector<std::uint8_t>* data) = 0;
  // Names (without their directory) of the entries matching a wildcard
  // pattern such as "C:\\dir\\*.lang", of any attributes, sub-directories
  // included, in the order the file system lists them.
  virtual std::vector<std::string> FindFiles(const std::string& pattern) = 0;
  // The running executable's directory, up to and including its last path
  // separator (not the current directory).
  virtual std::string ExecutableDirectory() = 0;
};

}  // namespace platform
