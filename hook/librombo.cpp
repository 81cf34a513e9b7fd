// librombo.dll: watches the mouse system-wide and asks Rombo Desktop for the
// cube by dropping a signal file into the user's temporary directory.
//
// The gesture is a left-button press while Ctrl and Alt are both held. The
// hook never consumes the press: the program's cube follows the mouse while
// the button stays down, so the click must reach the system unchanged.
//
// The hook lives on a thread of the library's own. Windows calls a low-level
// hook by sending to the thread that installed it; on the program's GUI
// thread, every busy moment there (a screenshot, a texture upload) would
// stall the pointer for the whole desktop, and a hook that misses the
// system's timeout is removed without notice.
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

// Handles that report failure as null (events, threads).
struct HandleDeleter {
  using pointer = HANDLE;
  void operator()(HANDLE handle) const noexcept { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleDeleter>;

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

// Asks the hook thread's loop to write the signal file.
constexpr UINT kWriteSignalMessage = WM_APP + 1;
// How long UninstallMouseHook waits for the hook thread to finish. Only a
// signal file stuck in writing can hold it up; shutdown must not hang on it.
constexpr DWORD kStopTimeoutMs = 5000;

// Handed by InstallMouseHook to the thread it starts; lives on the
// installer's stack until `ready` is set.
struct StartUp {
  HMODULE module = nullptr;
  HANDLE ready = nullptr;
  bool installed = false;
};

// The hook thread, while one runs. Guarded by g_lock, so that install and
// uninstall from different threads cannot start two hooks or lose one.
SRWLOCK g_lock = SRWLOCK_INIT;
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
// Kept for the program's sake; the signal travels only through the file.
HWND g_window = nullptr;

class ExclusiveLock {
 public:
  explicit ExclusiveLock(SRWLOCK* lock) noexcept : lock_(lock) { AcquireSRWLockExclusive(lock_); }
  ~ExclusiveLock() { ReleaseSRWLockExclusive(lock_); }
  ExclusiveLock(const ExclusiveLock&) = delete;
  ExclusiveLock& operator=(const ExclusiveLock&) = delete;

 private:
  SRWLOCK* lock_;
};

// Runs in the hook thread, inside the system's deadline for low-level hooks:
// it only leaves a note for the thread's own loop and passes the event on.
LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && message == WM_LBUTTONDOWN && IsKeyDown(VK_CONTROL) &&
      IsKeyDown(VK_MENU)) {
    PostThreadMessageW(GetCurrentThreadId(), kWriteSignalMessage, 0, 0);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void WriteSignalFileQuietly() noexcept {
  // A lost signal only means the cube does not open; nothing may escape the
  // thread.
  try {
    WriteSignalFile();
  } catch (...) {
  }
}

// Installs the hook, reports through `start`, then serves the hook until
// WM_QUIT. The hook is removed before returning.
void ServeHook(StartUp* start) {
  MSG message;
  // Makes the thread's message queue now, so that WM_QUIT can be posted to
  // it as soon as the installer learns the hook is in place.
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, &LowLevelMouseProc, start->module, 0));
  start->installed = hook != nullptr;
  SetEvent(start->ready);  // the installer's `start` is gone after this
  if (!hook) return;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == nullptr && message.message == kWriteSignalMessage) {
      WriteSignalFileQuietly();
    }
  }
}

DWORD WINAPI HookThreadMain(LPVOID parameter) {
  StartUp* start = static_cast<StartUp*>(parameter);
  const HMODULE module = start->module;
  ServeHook(start);
  // The thread holds a reference to this DLL, so the code it runs cannot be
  // unloaded under it; it gives the reference back as it ends.
  FreeLibraryAndExitThread(module, 0);
}

// The module that holds LowLevelMouseProc, i.e. this DLL, with one more
// reference taken for the hook thread; null when it cannot be had.
HMODULE ReferenceThisModule() noexcept {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&LowLevelMouseProc), &module)) {
    return nullptr;
  }
  return module;
}

}  // namespace

extern "C" void __cdecl InstallMouseHook(HWND window) {
  const ExclusiveLock lock(&g_lock);
  g_window = window;
  if (g_thread != nullptr) return;  // one hook is enough; a second would fire twice

  StartUp start;
  const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (ready.get() == nullptr) return;
  start.ready = ready.get();
  start.module = ReferenceThisModule();
  if (start.module == nullptr) return;
  DWORD threadId = 0;
  UniqueHandle thread(CreateThread(nullptr, 0, &HookThreadMain, &start, 0, &threadId));
  if (thread.get() == nullptr) {
    FreeLibrary(start.module);
    return;
  }
  // The thread either reports or ends; either way `start` is then settled.
  const HANDLE waits[] = {ready.get(), thread.get()};
  WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  if (!start.installed) return;  // the thread is ending on its own
  g_thread = thread.release();
  g_threadId = threadId;
}

extern "C" void __cdecl UninstallMouseHook(void) {
  const ExclusiveLock lock(&g_lock);
  g_window = nullptr;
  if (g_thread == nullptr) return;
  // WM_QUIT ends the loop; the thread removes the hook and exits. Should it
  // not finish in time, it is let go: it has its quit message and will end
  // by itself, and its reference keeps this DLL loaded until then.
  PostThreadMessageW(g_threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(g_thread, kStopTimeoutMs);
  CloseHandle(g_thread);
  g_thread = nullptr;
  g_threadId = 0;
}
