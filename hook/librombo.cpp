// librombo.dll: watches the mouse system-wide and asks Rombo Desktop for the
// cube by dropping a signal file into the user's temporary directory.
//
// The gesture is a left-button press while Ctrl and Alt are both held. The
// hook never consumes the press: the program's cube follows the mouse while
// the button stays down, so the click must reach the system unchanged.
#define LIBROMBO_BUILDING
#include "librombo.h"

#include <memory>
#include <string>

namespace {

constexpr wchar_t kSignalFileName[] = L"" LIBROMBO_SIGNAL_FILE_NAME;
constexpr wchar_t kTempSuffix[] = L".tmp";
// Byte written into the signal file; the program only checks that it exists.
constexpr char kSignalContent = '1';
// High bit of GetAsyncKeyState's result: the key is down right now.
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
// Longest path the wide file APIs accept with the "\\?\" prefix.
constexpr DWORD kMaxLongPath = 32767;
constexpr wchar_t kLongPathPrefix[] = L"\\\\?\\";
constexpr wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";

struct HookDeleter {
  using pointer = HHOOK;
  void operator()(HHOOK hook) const noexcept { UnhookWindowsHookEx(hook); }
};
using UniqueHook = std::unique_ptr<HHOOK__, HookDeleter>;

// Owns a file handle; CreateFile reports failure as INVALID_HANDLE_VALUE.
class UniqueFile {
 public:
  explicit UniqueFile(HANDLE handle) noexcept : handle_(handle) {}
  ~UniqueFile() {
    if (valid()) CloseHandle(handle_);
  }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;

  bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const noexcept { return handle_; }
  // Closes now, so the file can be renamed; reports whether the close worked.
  bool close() noexcept {
    const bool ok = valid() && CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

// Both are touched only by the thread that installed the hook: the hook
// procedure of a low-level hook runs in that thread's message loop.
// Released on unload so a hook can never outlive the code it points to.
UniqueHook g_hook;
// Kept for the program's sake; the signal travels only through the file.
HWND g_window = nullptr;

bool IsKeyDown(int virtualKey) noexcept {
  return (GetAsyncKeyState(virtualKey) & kKeyDownBit) != 0;
}

// The user's temporary directory with a trailing backslash, or empty.
// Grows the buffer when the path does not fit the first one.
std::wstring TempDirectory() {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), &buffer[0]);
  if (length >= buffer.size()) {
    // The result is now the size needed, terminator included.
    if (length > kMaxLongPath + 1) return std::wstring();
    buffer.assign(length, L'\0');
    length = GetTempPathW(static_cast<DWORD>(buffer.size()), &buffer[0]);
    // The variable may have changed between the calls; give up then.
    if (length >= buffer.size()) return std::wstring();
  }
  if (length == 0) return std::wstring();
  buffer.resize(length);
  if (buffer.back() != L'\\') buffer.push_back(L'\\');
  return buffer;
}

// Lets the file APIs reach a directory nested deeper than MAX_PATH.
std::wstring ExtendedLengthPath(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.compare(0, 4, kLongPathPrefix) == 0) {
    return path;
  }
  const bool driveAbsolute = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  if (driveAbsolute) return kLongPathPrefix + path;
  const bool unc = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
  if (unc) return kLongUncPrefix + path.substr(2);
  return path;  // relative: nothing safe to do, let the call fail
}

// Writes the signal under a private name first and renames it into place,
// so the program never sees a half-made file.
void WriteSignalFile() {
  const std::wstring directory = TempDirectory();
  if (directory.empty()) return;

  const std::wstring finalPath = ExtendedLengthPath(directory + kSignalFileName);
  // Process and thread ids keep two copies of the library from sharing one
  // private name.
  const std::wstring stagingPath = ExtendedLengthPath(
      directory + kSignalFileName + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
      std::to_wstring(GetCurrentThreadId()) + kTempSuffix);

  UniqueFile file(CreateFileW(stagingPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return;
  DWORD written = 0;
  const bool wrote =
      WriteFile(file.get(), &kSignalContent, sizeof kSignalContent, &written, nullptr) &&
      written == sizeof kSignalContent;
  if (!file.close() || !wrote ||
      !MoveFileExW(stagingPath.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(stagingPath.c_str());
  }
}

LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && message == WM_LBUTTONDOWN && IsKeyDown(VK_CONTROL) &&
      IsKeyDown(VK_MENU)) {
    // An exception must not unwind into the system's hook dispatcher; a
    // lost signal only means the cube does not open.
    try {
      WriteSignalFile();
    } catch (...) {
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// The module that holds LowLevelMouseProc, i.e. this DLL.
HMODULE ThisModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&LowLevelMouseProc), &module);
  return module;
}

}  // namespace

extern "C" void __cdecl InstallMouseHook(HWND window) {
  g_window = window;
  if (g_hook) return;  // one hook is enough; a second would fire twice
  g_hook.reset(SetWindowsHookExW(WH_MOUSE_LL, &LowLevelMouseProc, ThisModule(), 0));
}

extern "C" void __cdecl UninstallMouseHook(void) {
  g_hook.reset();
  g_window = nullptr;
}
