#include <windows.h>

#include "platform/win32/system.h"

#include <algorithm>
#include <cstring>

#include "hook/ansi_temp_path.h"
#include "platform/types.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {
// The longest path the system's file functions accept.
constexpr std::size_t kLongestPath = 32767;
}  // namespace

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32FileSystem::TempPath(std::uint32_t bufferLength, char* buffer) {
  // Where the hook library drops the signal file, named so that the ANSI
  // file functions reach it.
  return GetAnsiTempPath(bufferLength, buffer);
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FileStamp Win32FileSystem::Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  FileStamp stamp;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return stamp;
  }
  stamp.exists = true;
  stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.writeTime = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                    data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

bool Win32FileSystem::WriteTime(const std::string& path, std::uint64_t* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
  *time = (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
          data.ftLastWriteTime.dwLowDateTime;
  return true;
}

std::uint32_t Win32FileSystem::LastError() { return GetLastError(); }

FileRead Win32FileSystem::ReadWholeFile(const std::string& path, std::size_t maxBytes,
                                        bool exclusive, std::vector<std::uint8_t>* data) {
  data->clear();
  if (!FileExists(path)) return FileRead::kMissing;
  const DWORD share = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return FileRead::kCannotOpen;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return FileRead::kCannotOpen;
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return FileRead::kTooLarge;
  data->resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  // ReadFile takes at most a DWORD at a time; a file may also shrink while
  // it is read, so the loop stops at the first empty read.
  constexpr std::size_t kChunk = 1u << 24;
  while (done < data->size()) {
    const DWORD want = static_cast<DWORD>(std::min(kChunk, data->size() - done));
    DWORD got = 0;
    if (!::ReadFile(file.get(), data->data() + done, want, &got, nullptr)) {
      data->clear();
      return FileRead::kCannotOpen;
    }
    if (got == 0) break;
    done += got;
  }
  data->resize(done);
  return FileRead::kOk;
}

std::vector<std::string> Win32FileSystem::FindFiles(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  FindHandle search(FindFirstFileA(pattern.c_str(), &entry));
  if (!search.valid()) return names;
  do {
    names.emplace_back(entry.cFileName);
  } while (FindNextFileA(search.get(), &entry));
  return names;
}

std::string Win32FileSystem::ExecutableDirectory() {
  // The path may be longer than MAX_PATH; grow the buffer until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= kLongestPath) return std::string();
    path.resize(std::min<std::size_t>(path.size() * 2, kLongestPath));
  }
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

void Win32ScreenCapture::CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                                       std::uint8_t* pixels) {
  const HWND desktop = GetDesktopWindow();
  WindowDc screen(desktop, GetWindowDC(desktop));
  MemoryDc memory(CreateCompatibleDC(screen.get()));

  void* bits = nullptr;
  GdiObject section(CreatePixelSection(screen.get(), width, height, &bits));
  if (section.get() == nullptr || bits == nullptr) return;
  {
    Selection selected(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0,
           SRCCOPY | (includeLayered ? CAPTUREBLT : 0));
  }
  GdiFlush();
  std::memcpy(pixels, bits,
              static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                  platform::kBytesPerPixel);
}

}  // namespace platform::win32
