#include <windows.h>

#include "platform/win32/system.h"

#include <cstring>

#include "platform/win32/handles.h"

namespace platform::win32 {

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32FileSystem::TempPath(std::uint32_t bufferLength, char* buffer) {
  return GetTempPathA(bufferLength, buffer);
}

bool Win32FileSystem::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != FALSE;
}

void Win32ScreenCapture::CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                                       std::uint8_t* pixels) {
  const HWND desktop = GetDesktopWindow();
  WindowDc screen(desktop, GetWindowDC(desktop));
  MemoryDc memory(screen.get());

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject section(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (section.get() == nullptr || bits == nullptr) return;
  {
    Selection selected(memory.get(), section.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0,
           SRCCOPY | (includeLayered ? CAPTUREBLT : 0));
  }
  GdiFlush();
  std::memcpy(pixels, bits, static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
}

}  // namespace platform::win32
