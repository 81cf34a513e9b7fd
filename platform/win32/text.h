#pragma once
// The program's texts are single-byte; windows that show them are Unicode,
// so each text is widened from the code page it was written in: Windows-1252
// for captions (whatever the system's code page), the system's ANSI code
// page for file names and paths.
#include <windows.h>

#include <string>

namespace platform::win32 {

constexpr UINT kCaptionCodePage = 1252;

std::wstring Widen(const std::string& text, UINT codePage);
std::string Narrow(const std::wstring& text, UINT codePage);

// A window's text, read back into the system's ANSI code page.
std::string WindowTextAnsi(HWND window);

}  // namespace platform::win32
