#include "platform/win32/shell.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <utility>
#include <vector>

#include "hook/librombo.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace platform::win32 {

namespace {
// How long the balloon stays, where the system still asks (before Vista).
constexpr UINT kBalloonTimeoutMs = 15000;
// The shell reads no further than the size the record gives (Wine reads
// the balloon fields whatever it says, so only this shows a short one).
static_assert(kBalloonRecordSize >= offsetof(NOTIFYICONDATAW, dwInfoFlags) + sizeof(DWORD));

// What says that another window has become the foreground window.
constexpr DWORD kForegroundEvents[] = {EVENT_SYSTEM_FOREGROUND, EVENT_OBJECT_FOCUS};
// Wine reports neither a new foreground window nor, when a window is
// activated again, its focus; there the foreground is looked at this often.
constexpr UINT kForegroundLookMs = 1000;
constexpr UINT_PTR kForegroundLookTimerId = 2;

// The window told of foreground changes, and the foreground window it was
// last told of; one watch at a time.
HWND g_foregroundWatcher = nullptr;
HWND g_lastForeground = nullptr;

// Runs on the thread that set the watch, as it takes its messages; the
// change is handled as a message of its own, in the window's usual order.
void CALLBACK ForegroundChanged(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  g_lastForeground = GetForegroundWindow();
  if (g_foregroundWatcher != nullptr) {
    PostMessageA(g_foregroundWatcher, kForegroundChangedMessage, 0, 0);
  }
}

void CALLBACK LookAtForeground(HWND, UINT, UINT_PTR, DWORD) {
  if (GetForegroundWindow() != g_lastForeground) ForegroundChanged(nullptr, 0, nullptr, 0, 0, 0, 0);
}

// The tray icon's side where the system gives no small-icon size.
constexpr int kDefaultTrayIconSide = 16;
constexpr std::uint8_t kBlackBackground = 0x00;
constexpr std::uint8_t kWhiteBackground = 0xFF;
constexpr int kOpaque = 0xFF;
constexpr int kColourChannels = 3;

// The notification area shows icons at the small-icon size, which grows with
// the screen's DPI for a program that says it is DPI aware, as this one does.
int TrayIconSide() {
  const int side = GetSystemMetrics(SM_CXSMICON);
  return side > 0 ? side : kDefaultTrayIconSide;
}

// The icon drawn at `side` onto a background of one grey level, as the
// system draws it (scaled, blended): its pixels into *pixels.
bool DrawIconOn(HDC dc, HICON icon, int side, std::uint8_t background,
                std::vector<std::uint8_t>* pixels) {
  void* bits = nullptr;
  const GdiObject section(CreatePixelSection(dc, side, side, &bits));
  if (!section || bits == nullptr) return false;
  const std::size_t bytes = static_cast<std::size_t>(side) * side * kBytesPerPixel;
  std::memset(bits, background, bytes);
  {
    const Selection selected(dc, section.get());
    if (!DrawIconEx(dc, 0, 0, icon, side, side, 0, nullptr, DI_NORMAL)) return false;
  }
  GdiFlush();
  const auto* first = static_cast<const std::uint8_t*>(bits);
  pixels->assign(first, first + bytes);
  return true;
}

// The icon's own colour and opacity from its pictures on black (*pixels, in
// place) and on white: what it lets through is the difference between them.
// This reads any icon, with or without an alpha channel, whatever GDI does
// with the fourth byte when it draws.
void UnblendIcon(const std::vector<std::uint8_t>& onWhite, std::vector<std::uint8_t>* pixels) {
  for (std::size_t i = 0; i + kBytesPerPixel <= pixels->size(); i += kBytesPerPixel) {
    std::uint8_t* p = pixels->data() + i;
    int through = 0;
    for (int c = 0; c < kColourChannels; ++c) through = std::max(through, onWhite[i + c] - p[c]);
    const int alpha = kOpaque - through;
    for (int c = 0; c < kColourChannels; ++c) {
      p[c] = static_cast<std::uint8_t>(alpha == 0 ? 0 : std::min(kOpaque, p[c] * kOpaque / alpha));
    }
    p[3] = static_cast<std::uint8_t>(alpha);
  }
}

// An icon of the picture: its colour with its opacity, and a mask that is
// set where the picture is fully transparent, for whoever draws without the
// opacity. The system copies both bitmaps, so they go at once.
HICON MakeIcon(const PixelImage& picture) {
  const std::size_t bytes =
      static_cast<std::size_t>(picture.width) * picture.height * kBytesPerPixel;
  if (picture.Empty() || picture.pixels.size() != bytes) return nullptr;
  void* bits = nullptr;
  const GdiObject colour(CreatePixelSection(nullptr, picture.width, picture.height, &bits));
  if (!colour || bits == nullptr) return nullptr;
  std::memcpy(bits, picture.pixels.data(), bytes);
  // One bit a pixel, rows top-down, each row a whole number of 16-bit words.
  constexpr int kMaskRowAlign = 16;
  const std::size_t stride = static_cast<std::size_t>((picture.width + kMaskRowAlign - 1) /
                                                      kMaskRowAlign * (kMaskRowAlign / 8));
  std::vector<std::uint8_t> mask(stride * picture.height, 0);
  for (int y = 0; y < picture.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(picture.height - 1 - y);  // bottom-up
    for (int x = 0; x < picture.width; ++x) {
      if (picture.pixels[(row * picture.width + x) * kBytesPerPixel + 3] == 0) {
        mask[y * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  const GdiObject maskBitmap(CreateBitmap(picture.width, picture.height, 1, 1, mask.data()));
  if (!maskBitmap) return nullptr;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = static_cast<HBITMAP>(maskBitmap.get());
  info.hbmColor = static_cast<HBITMAP>(colour.get());
  return CreateIconIndirect(&info);
}

bool SystemReportsForeground() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}
}  // namespace

void Win32Shell::FillTrayIconData(HWND owner) {
  std::memset(&trayIconData_, 0, sizeof(trayIconData_));
  trayIconData_.cbSize = kTrayRecordSize;
  trayIconData_.hWnd = owner;
  trayIconData_.uID = kTrayIconId;
  trayIconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIconData_.uCallbackMessage = kTrayCallbackMessage;
  trayIconData_.hIcon = shownIcon_ ? shownIcon_.get() : icon_;
  // Longer tips are cut; the record holds 64 characters.
  std::strncpy(trayIconData_.szTip, tip_.c_str(), sizeof(trayIconData_.szTip) - 1);
}

bool Win32Shell::AddTrayIcon(WindowHandle owner) {
  FillTrayIconData(ToHwnd(owner));
  if (Shell_NotifyIconA(NIM_ADD, &trayIconData_)) return true;
  // A taskbar that came up between two tries may hold the icon already and
  // refuses to add it twice; changing it tells whether it is there.
  return Shell_NotifyIconA(NIM_MODIFY, &trayIconData_) != FALSE;
}

void Win32Shell::RemoveTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &trayIconData_); }

PixelImage Win32Shell::TrayIconPicture() {
  const int side = TrayIconSide();
  MemoryDc dc(CreateCompatibleDC(nullptr));
  std::vector<std::uint8_t> onBlack;
  std::vector<std::uint8_t> onWhite;
  if (!dc || !DrawIconOn(dc.get(), icon_, side, kBlackBackground, &onBlack) ||
      !DrawIconOn(dc.get(), icon_, side, kWhiteBackground, &onWhite)) {
    return {};
  }
  PixelImage picture;
  picture.width = picture.height = side;
  picture.pixels = std::move(onBlack);
  UnblendIcon(onWhite, &picture.pixels);
  return picture;
}

bool Win32Shell::SetTrayIcon(const PixelImage& picture, const std::string& tip) {
  Icon made(MakeIcon(picture));
  if (!made) return false;
  // The icon shown so far goes only once the shell has the new one.
  const Icon previous = std::exchange(shownIcon_, std::move(made));
  tip_ = tip;
  const HWND owner = trayIconData_.hWnd;
  FillTrayIconData(owner);
  // Before the first adding there is nothing to change; the adding takes it.
  if (owner == nullptr) return true;
  return Shell_NotifyIconA(NIM_MODIFY, &trayIconData_) != FALSE;
}

bool Win32Shell::ShowTrayBalloon(const std::string& text) {
  NOTIFYICONDATAW balloon;
  std::memset(&balloon, 0, sizeof(balloon));
  balloon.cbSize = kBalloonRecordSize;
  balloon.hWnd = trayIconData_.hWnd;
  balloon.uID = kTrayIconId;
  balloon.uFlags = NIF_INFO;
  const std::wstring wide = Widen(text, kCaptionCodePage);
  wide.copy(balloon.szInfo, std::size(balloon.szInfo) - 1);
  std::wcsncpy(balloon.szInfoTitle, kBalloonTitle, std::size(balloon.szInfoTitle) - 1);
  balloon.uTimeout = kBalloonTimeoutMs;
  balloon.dwInfoFlags = NIIF_WARNING;
  return Shell_NotifyIconW(NIM_MODIFY, &balloon) != FALSE;
}

bool Win32Shell::RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                                std::uint32_t virtualKey) {
  return ::RegisterHotKey(ToHwnd(owner), id, modifiers, virtualKey) != FALSE;
}

void Win32Shell::UnregisterHotKey(WindowHandle owner, int id) {
  ::UnregisterHotKey(ToHwnd(owner), id);
}

void Win32Shell::InstallMouseHook(WindowHandle owner) { ::InstallMouseHook(ToHwnd(owner)); }

void Win32Shell::UninstallMouseHook() { ::UninstallMouseHook(); }

void Win32Shell::WatchForeground(WindowHandle owner) {
  StopWatchingForeground();
  g_foregroundWatcher = ToHwnd(owner);
  // Out of context: the system queues the event for this thread, so no code
  // of the program runs in other processes and nothing waits on them.
  for (std::size_t i = 0; i < std::size(kForegroundEvents); ++i) {
    foregroundHooks_[i] =
        SetWinEventHook(kForegroundEvents[i], kForegroundEvents[i], nullptr, &ForegroundChanged, 0,
                        0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  }
  if (!SystemReportsForeground()) {
    SetTimer(g_foregroundWatcher, kForegroundLookTimerId, kForegroundLookMs, &LookAtForeground);
  }
}

void Win32Shell::WatchSignalFile(WindowHandle owner, const std::string& path) {
  signalWatch_.Start(ToHwnd(owner), kSignalWrittenMessage, path);
}

void Win32Shell::StopWatchingSignalFile() { signalWatch_.Stop(); }

void Win32Shell::StopWatchingForeground() {
  for (HWINEVENTHOOK& hook : foregroundHooks_) {
    if (hook != nullptr) UnhookWinEvent(hook);
    hook = nullptr;
  }
  if (g_foregroundWatcher != nullptr) KillTimer(g_foregroundWatcher, kForegroundLookTimerId);
  g_foregroundWatcher = nullptr;
}

namespace {
// The integrity level of a process's token (its label's last RID), or -1
// when it cannot be read.
long IntegrityLevel(HANDLE process) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return -1;
  const KernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size == 0) return -1;
  std::vector<std::uint8_t> buffer(size);
  if (!GetTokenInformation(token.get(), TokenIntegrityLevel, buffer.data(), size, &size)) return -1;
  const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  const UCHAR count = *GetSidSubAuthorityCount(sid);
  return count == 0 ? -1 : static_cast<long>(*GetSidSubAuthority(sid, count - 1U));
}
}  // namespace

bool Win32Shell::RunsElevated() {
  // Higher than the shell's: then the system filters what the shell sends
  // up to this program. The same (an administrator without split rights,
  // and under Wine, whose token is always the full one) filters nothing.
  DWORD shellId = 0;
  const HWND shell = GetShellWindow();
  if (shell == nullptr || GetWindowThreadProcessId(shell, &shellId) == 0) return false;
  const KernelHandle shellProcess(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, shellId));
  if (!shellProcess.valid()) return false;
  const long shellLevel = IntegrityLevel(shellProcess.get());
  return shellLevel >= 0 && IntegrityLevel(GetCurrentProcess()) > shellLevel;
}

}  // namespace platform::win32
