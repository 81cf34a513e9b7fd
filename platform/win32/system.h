#pragma once
#include "platform/screen_capture.h"
#include "platform/system.h"

namespace platform::win32 {

class Win32Clock : public Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

class Win32FileSystem : public FileSystem {
 public:
  std::uint32_t TempPath(std::uint32_t bufferLength, char* buffer) override;
  bool FileExists(const std::string& path) override;
  FileStamp Stamp(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  std::uint32_t LastError() override;
  bool WriteTime(const std::string& path, std::uint64_t* time) override;
  FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, bool exclusive,
                         std::vector<std::uint8_t>* data) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::string ExecutableDirectory() override;
};

class Win32ScreenCapture : public ScreenCapture {
 public:
  void CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                     std::uint8_t* pixels) override;
};

}  // namespace platform::win32
