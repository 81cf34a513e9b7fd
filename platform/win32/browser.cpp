#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include "platform/win32/browser.h"

namespace platform::win32 {

void Win32Browser::Open(const std::string& address) {
  // Nothing to report if it fails: there is no browser to show an error in.
  ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform::win32
