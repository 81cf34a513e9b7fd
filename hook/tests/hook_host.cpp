// Test host for librombo.dll (not shipped). Binds the library through its
// import library like the program does, installs the hook for a hidden
// window and runs a message loop, so the real hook can be driven from
// outside with synthetic input.
//
// Usage: hook_host [--seconds N] [--temp DIR]
//   --seconds N  exit after N seconds at the latest (default 60), so a
//                forgotten host never outlives its test
//   --temp DIR   use DIR as this process's temporary directory
// Prints "ready" once the hook is installed. Then reads commands, one per
// line, from standard input; each is run on the GUI thread (the one that
// calls the library, as the program's does) and answered with one line:
//   install   -> "installed"     InstallMouseHook(window) once more
//   uninstall -> "uninstalled"   UninstallMouseHook()
//   lbutton   -> "lbutton down" / "lbutton up"  (GetAsyncKeyState)
//   threads   -> "threads N"     threads this process runs now
//   ping      -> "pong"          proves earlier input events were handled
//   quit      -> "bye"           closes the window and exits
// Exits on WM_CLOSE too.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "librombo.h"

namespace {

constexpr wchar_t kWindowClass[] = L"RomboHookTestHost";
constexpr UINT_PTR kLifetimeTimerId = 1;
constexpr unsigned kDefaultSeconds = 60;
constexpr unsigned kMillisecondsPerSecond = 1000;
constexpr SHORT kKeyDownBit = static_cast<SHORT>(0x8000);
constexpr DWORD kReadChunk = 256;

enum HostCommand : WPARAM {
  kCommandInstall = 1,
  kCommandUninstall,
  kCommandLButton,
  kCommandThreads,
  kCommandPing,
  kCommandQuit,
};
// Posted by the stdin reader to the window with a HostCommand.
constexpr UINT kCommandMessage = WM_APP + 1;

void Say(const char* line) {
  std::fputs(line, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
  ~UniqueHandle() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const noexcept { return handle_; }

 private:
  HANDLE handle_;
};

class Window {
 public:
  explicit Window(HWND window) noexcept : window_(window) {}
  ~Window() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const noexcept { return window_; }

 private:
  HWND window_;
};

// Threads of this process, from a system snapshot; -1 when none can be had.
int CountOwnThreads() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  const UniqueHandle owner(snapshot);
  const DWORD self = GetCurrentProcessId();
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == self) ++count;
  }
  return count;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kCommandMessage:
      switch (wparam) {
        case kCommandInstall:
          InstallMouseHook(window);
          Say("installed");
          break;
        case kCommandUninstall:
          UninstallMouseHook();
          Say("uninstalled");
          break;
        case kCommandLButton:
          Say((GetAsyncKeyState(VK_LBUTTON) & kKeyDownBit) ? "lbutton down" : "lbutton up");
          break;
        case kCommandThreads:
          Say(("threads " + std::to_string(CountOwnThreads())).c_str());
          break;
        case kCommandPing:
          Say("pong");
          break;
        case kCommandQuit:
          Say("bye");
          DestroyWindow(window);
          break;
        default:
          break;
      }
      return 0;
    case WM_TIMER:
      if (wparam == kLifetimeTimerId) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      UninstallMouseHook();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

WPARAM ParseCommand(const std::string& line) {
  if (line == "install") return kCommandInstall;
  if (line == "uninstall") return kCommandUninstall;
  if (line == "lbutton") return kCommandLButton;
  if (line == "threads") return kCommandThreads;
  if (line == "ping") return kCommandPing;
  if (line == "quit") return kCommandQuit;
  return 0;
}

// Reads command lines until end of input and hands them to the GUI thread.
DWORD WINAPI ReadCommands(LPVOID parameter) {
  const HWND window = static_cast<HWND>(parameter);
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char chunk[kReadChunk];
  DWORD got = 0;
  while (ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    pending.append(chunk, got);
    std::string::size_type end;
    while ((end = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const WPARAM command = ParseCommand(line);
      if (command != 0) PostMessageW(window, kCommandMessage, command, 0);
    }
  }
  return 0;
}

}  // namespace

// Wide arguments, so a temporary directory may be named in any script.
int wmain(int argc, wchar_t** argv) {
  // Plain "\n" line ends, so scripts can match the answers exactly.
  _setmode(_fileno(stdout), _O_BINARY);
  unsigned seconds = kDefaultSeconds;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::wcscmp(argv[i], L"--seconds") == 0) {
      seconds = static_cast<unsigned>(std::wcstoul(argv[i + 1], nullptr, 10));
    } else if (std::wcscmp(argv[i], L"--temp") == 0) {
      // GetTempPath looks at TMP first, then TEMP.
      SetEnvironmentVariableW(L"TMP", argv[i + 1]);
      SetEnvironmentVariableW(L"TEMP", argv[i + 1]);
    } else {
      std::fprintf(stderr, "unknown option %ls\n", argv[i]);
      return 2;
    }
  }

  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassW(&windowClass) == 0) return 1;

  // Never shown: the hook needs only a thread with a message loop.
  Window window(CreateWindowExW(0, kWindowClass, L"hook host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance, nullptr));
  if (window.get() == nullptr) return 1;
  SetTimer(window.get(), kLifetimeTimerId, seconds * kMillisecondsPerSecond, nullptr);

  InstallMouseHook(window.get());
  Say("ready");

  // Left running at exit: it is blocked in ReadFile and ends with the process.
  UniqueHandle reader(CreateThread(nullptr, 0, &ReadCommands, window.get(), 0, nullptr));

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  UninstallMouseHook();
  return 0;
}
