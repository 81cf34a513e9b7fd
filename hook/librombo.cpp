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
//
// For the same reason the signal file is written on a second thread: a slow
// disk, or a virus scanner that holds the new file, must not hold up the
// hook thread. The hook procedure only asks the writer and returns.
#define LIBROMBO_BUILDING
#include "librombo.h"

#include <atomic>
#include <memory>
#include <string>

#include "ansi_temp_path.h"

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

// The user's temporary directory with a trailing backslash, named as the
// program names it when it looks for the signal file, or empty.
std::wstring TempDirectory() {
  std::string buffer(kMaxLongPath + 1, '\0');
  const DWORD length = GetAnsiTempPath(static_cast<DWORD>(buffer.size()), &buffer[0]);
  if (length == 0 || length >= buffer.size()) return std::wstring();
  buffer.resize(length);
  if (buffer.back() != '\\') buffer.push_back('\\');
  // Back to the wide form, for the long-path prefix of the wide calls.
  const int size = static_cast<int>(buffer.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, buffer.data(), size, nullptr, 0);
  if (wide <= 0) return std::wstring();
  std::wstring directory(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, 0, buffer.data(), size, &directory[0], wide);
  return directory;
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

// Writes the signal under a private name first and renames it into place
// (one atomic replace of the name, a link there included), so the program
// never sees a half-made file. True once it is in place.
bool WriteSignalFile() {
  const std::wstring directory = TempDirectory();
  if (directory.empty()) return false;

  const std::wstring finalPath = ExtendedLengthPath(directory + kSignalFileName);
  // Process and thread ids keep two copies of the library from sharing one
  // private name.
  const std::wstring stagingPath = ExtendedLengthPath(
      directory + kSignalFileName + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
      std::to_wstring(GetCurrentThreadId()) + kTempSuffix);

  // Made new, never opened: whatever stands at the name (a link another
  // program put there to redirect the write, a copy left by a crash) is
  // deleted itself, not followed, and the name is tried once more.
  const auto create = [&stagingPath] {
    return CreateFileW(stagingPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE made = create();
  if (made == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS &&
      DeleteFileW(stagingPath.c_str())) {
    made = create();
  }
  UniqueFile file(made);
  if (!file.valid()) return false;
  DWORD written = 0;
  const bool wrote =
      WriteFile(file.get(), &kSignalContent, sizeof kSignalContent, &written, nullptr) &&
      written == sizeof kSignalContent;
  if (!file.close() || !wrote ||
      !MoveFileExW(stagingPath.c_str(), finalPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(stagingPath.c_str());
    return false;
  }
  return true;
}

// Asks the writer thread's loop to write the signal file.
constexpr UINT kWriteSignalMessage = WM_APP + 1;
// How long UninstallMouseHook waits for the library's threads to finish. Only
// a signal file stuck in writing can hold them up; shutdown must not hang on
// it.
constexpr DWORD kStopTimeoutMs = 5000;

// Handed by StartThread to the thread it starts; lives on the starter's
// stack until `ready` is set.
struct StartUp {
  HMODULE module = nullptr;
  HANDLE ready = nullptr;
  void (*serve)(StartUp*) = nullptr;
  bool running = false;
};

// One of the library's threads, while it runs.
struct LibraryThread {
  HANDLE handle = nullptr;
  DWORD id = 0;
};

// Guarded by g_lock, so that install and uninstall from different threads
// cannot start two hooks or lose one.
SRWLOCK g_lock = SRWLOCK_INIT;
LibraryThread g_hookThread;
LibraryThread g_writerThread;
// Where the hook procedure sends its requests; set before the hook thread
// starts, cleared once it has ended.
std::atomic<DWORD> g_writerThreadId{0};
// The program's window, told each time the signal file is in place, so that
// it need not look for the file; read by the writer thread.
std::atomic<HWND> g_window{nullptr};

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
// it only leaves a note for the writer and passes the event on.
LRESULT CALLBACK LowLevelMouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && message == WM_LBUTTONDOWN && IsKeyDown(VK_CONTROL) &&
      IsKeyDown(VK_MENU)) {
    PostThreadMessageW(g_writerThreadId.load(), kWriteSignalMessage, 0, 0);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// Writes the signal file and tells the program's window. A lost signal only
// means the cube does not open; nothing may escape the thread.
void SignalQuietly() noexcept {
  bool written = false;
  try {
    written = WriteSignalFile();
  } catch (...) {
  }
  const HWND window = g_window.load();
  if (written && window != nullptr) PostMessageW(window, LIBROMBO_SIGNAL_MESSAGE, 0, 0);
}

// Makes the thread's message queue now, so that messages can be posted to it
// as soon as its starter learns that it runs.
void MakeMessageQueue() {
  MSG message;
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
}

// Writes the signal file on request until WM_QUIT. Requests that queued up
// during a slow write are answered by one more write: the file's existence
// is all that counts.
void ServeWrites(StartUp* start) {
  MakeMessageQueue();
  start->running = true;
  SetEvent(start->ready);  // the starter's `start` is gone after this
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd != nullptr || message.message != kWriteSignalMessage) continue;
    while (PeekMessageW(&message, nullptr, kWriteSignalMessage, kWriteSignalMessage, PM_REMOVE)) {
    }
    SignalQuietly();
  }
}

// Installs the hook, reports, then serves the hook until WM_QUIT. The hook
// is removed before returning.
void ServeHook(StartUp* start) {
  MakeMessageQueue();
  const UniqueHook hook(SetWindowsHookExW(WH_MOUSE_LL, &LowLevelMouseProc, start->module, 0));
  start->running = hook != nullptr;
  SetEvent(start->ready);  // the starter's `start` is gone after this
  if (!hook) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
  }
}

DWORD WINAPI ThreadMain(LPVOID parameter) {
  StartUp* start = static_cast<StartUp*>(parameter);
  const HMODULE module = start->module;
  start->serve(start);
  // The thread holds a reference to this DLL, so the code it runs cannot be
  // unloaded under it; it gives the reference back as it ends.
  FreeLibraryAndExitThread(module, 0);
}

// The module that holds LowLevelMouseProc, i.e. this DLL, with one more
// reference taken for a thread; null when it cannot be had.
HMODULE ReferenceThisModule() noexcept {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(&LowLevelMouseProc), &module)) {
    return nullptr;
  }
  return module;
}

// Starts a thread that runs `serve` and returns once it reports; no handle
// when it does not run.
LibraryThread StartThread(void (*serve)(StartUp*)) {
  StartUp start;
  start.serve = serve;
  const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (ready.get() == nullptr) return {};
  start.ready = ready.get();
  start.module = ReferenceThisModule();
  if (start.module == nullptr) return {};
  DWORD id = 0;
  UniqueHandle thread(CreateThread(nullptr, 0, &ThreadMain, &start, 0, &id));
  if (thread.get() == nullptr) {
    FreeLibrary(start.module);
    return {};
  }
  // The thread either reports or ends; either way `start` is then settled.
  const HANDLE waits[] = {ready.get(), thread.get()};
  WaitForMultipleObjects(2, waits, FALSE, INFINITE);
  if (!start.running) return {};  // the thread is ending on its own
  return {thread.release(), id};
}

// WM_QUIT ends the thread's loop; it is waited for until the deadline (a
// GetTickCount64 time). Should it not finish in time, it is let go: it has
// its quit message and will end by itself, and its reference keeps this DLL
// loaded until then.
void StopThread(LibraryThread& thread, ULONGLONG deadline) {
  if (thread.handle == nullptr) return;
  PostThreadMessageW(thread.id, WM_QUIT, 0, 0);
  const ULONGLONG now = GetTickCount64();
  WaitForSingleObject(thread.handle, now < deadline ? static_cast<DWORD>(deadline - now) : 0);
  CloseHandle(thread.handle);
  thread = LibraryThread();
}

}  // namespace

extern "C" void __cdecl InstallMouseHook(HWND window) {
  const ExclusiveLock lock(&g_lock);
  g_window = window;
  if (g_hookThread.handle != nullptr) return;  // one hook is enough; a second would fire twice

  // The writer first, so that the hook's first request finds it.
  g_writerThread = StartThread(&ServeWrites);
  if (g_writerThread.handle == nullptr) return;
  g_writerThreadId = g_writerThread.id;
  g_hookThread = StartThread(&ServeHook);
  if (g_hookThread.handle != nullptr) return;
  g_writerThreadId = 0;
  StopThread(g_writerThread, GetTickCount64() + kStopTimeoutMs);
}

extern "C" void __cdecl UninstallMouseHook(void) {
  const ExclusiveLock lock(&g_lock);
  g_window = nullptr;
  if (g_hookThread.handle == nullptr) return;
  // The hook first, so that no request follows; both within one bound.
  const ULONGLONG deadline = GetTickCount64() + kStopTimeoutMs;
  StopThread(g_hookThread, deadline);
  g_writerThreadId = 0;
  StopThread(g_writerThread, deadline);
}
