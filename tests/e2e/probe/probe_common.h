#pragma once
// What the probe's commands share: the one-record-per-line output, argument
// parsing, facts about a window, and handles closed on every path.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace probe {

// A command's arguments, after the command's name.
using Args = std::vector<std::wstring>;

std::string utf8(const std::wstring& w);
// Titles may hold TABs or newlines; they would break the one-record-per-line format.
std::wstring field(std::wstring s);

struct Line {
  std::string text;
  Line& add(const std::string& s) {
    if (!text.empty() || started) text += '\t';
    text += s;
    started = true;
    return *this;
  }
  Line& add(const std::wstring& s) { return add(utf8(field(s))); }
  Line& add(long long v) { return add(std::to_string(v)); }
  Line& hex(unsigned long long v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", v);
    return add(std::string(buf));
  }
  Line& hwnd(HWND h) {
    return hex(static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)));
  }
  void emit() {
    text += "\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);  // tests read lines while a probe window keeps running
  }
  bool started = false;
};

// Reports a bad argument; returns the usage exit status, 2.
int usage(const char* why);

bool parse_ll(const std::wstring& s, long long& out);
bool parse_hwnd(const std::wstring& s, HWND& out);

std::wstring class_of(HWND h);
std::wstring title_of(HWND h);
std::wstring control_text(HWND h);
// hwnd class title l t r b visible exstyle pid style
void window_line(Line& ln, HWND h);
std::vector<HWND> top_level_windows();
std::vector<HWND> child_windows(HWND parent);
// Parses a window handle and checks it names a window, saying so if not.
bool need_window(const std::wstring& arg, HWND& h);
void print_rect(HWND h);

// A kernel handle that reports failure as null, closed.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE h) : h_(h) {}
  ~KernelHandle() {
    if (h_) CloseHandle(h_);
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// A hook of probe_hook.dll (beside probe.exe) set on another program's
// thread; removed, and the DLL released, on every path.
struct ThreadHook {
  HMODULE hookDll = nullptr;
  HHOOK hook = nullptr;
  ThreadHook() = default;
  ThreadHook(const ThreadHook&) = delete;
  ThreadHook& operator=(const ThreadHook&) = delete;
  ~ThreadHook() {
    if (hook) UnhookWindowsHookEx(hook);
    if (hookDll) FreeLibrary(hookDll);
  }
  // Sets hook `kind` with the DLL's procedure `name` on the thread of `window`.
  bool set(int kind, const char* name, HWND window) {
    wchar_t self[MAX_PATH] = {0};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll = self;
    dll = dll.substr(0, dll.find_last_of(L"\\/") + 1) + L"probe_hook.dll";
    hookDll = LoadLibraryW(dll.c_str());
    if (!hookDll) {
      std::fprintf(stderr, "probe: cannot load %s\n", utf8(dll).c_str());
      return false;
    }
    // Through void*: the exported procedure has the hook signature, not FARPROC's.
    auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hookDll, name)));
    hook = proc ? SetWindowsHookExW(kind, proc, hookDll, GetWindowThreadProcessId(window, nullptr))
                : nullptr;
    if (!hook) std::fprintf(stderr, "probe: SetWindowsHookEx failed: %lu\n", GetLastError());
    return hook != nullptr;
  }
};

}  // namespace probe
