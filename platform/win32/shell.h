#pragma once
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include <string>

#include "platform/shell.h"
#include "platform/win32/handles.h"
#include "platform/win32/signal_watch.h"

namespace platform::win32 {

// Size of the notification-icon record in its first form (88 bytes on the
// 32-bit build), the form every shell version understands.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr UINT kTrayIconId = 1;
constexpr const char* kTrayTip = "RomboDesktop";
// The balloon's record needs the second form, the first with balloon
// fields; the icon itself is still added with the first.
constexpr DWORD kBalloonRecordSize = NOTIFYICONDATAW_V2_SIZE;
constexpr const wchar_t* kBalloonTitle = L"RomboDesktop";

class Win32Shell : public Shell {
 public:
  explicit Win32Shell(HICON icon) : icon_(icon) {}
  ~Win32Shell() override { StopWatchingForeground(); }
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;
  bool AddTrayIcon(WindowHandle owner) override;
  void RemoveTrayIcon() override;
  PixelImage TrayIconPicture() override;
  bool SetTrayIcon(const PixelImage& picture, const std::string& tip) override;
  bool ShowTrayBalloon(const std::string& text) override;
  bool RunsElevated() override;
  bool RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                      std::uint32_t virtualKey) override;
  void UnregisterHotKey(WindowHandle owner, int id) override;
  void InstallMouseHook(WindowHandle owner) override;
  void UninstallMouseHook() override;
  void WatchForeground(WindowHandle owner) override;
  void StopWatchingForeground() override;
  void WatchSignalFile(WindowHandle owner, const std::string& path) override;
  void StopWatchingSignalFile() override;

 private:
  // The record of the icon as it is shown now.
  void FillTrayIconData(HWND owner);

  HICON icon_;
  // The icon and tip SetTrayIcon made; the program's own until then.
  Icon shownIcon_;
  std::string tip_ = kTrayTip;
  SignalFileWatch signalWatch_;
  HWINEVENTHOOK foregroundHooks_[2] = {nullptr, nullptr};
  NOTIFYICONDATAA trayIconData_{};
};

}  // namespace platform::win32
