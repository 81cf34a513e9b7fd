#include "platform/win32/watcher.h"

#include <algorithm>
#include <cstring>

namespace platform::win32 {

namespace {

// The most windows the start-up picture may hide that the watcher can show
// again: the whole table of window handles of a session, so none is lost.
// Only the pages written are ever backed by memory.
constexpr std::size_t kHiddenCapacity = 65536;

// The memory the program and its watcher share.
struct WatchedState {
  std::uint32_t hiddenCount;
  std::uint64_t hidden[kHiddenCapacity];
};

WatchedState* State(void* view) { return static_cast<WatchedState*>(view); }

HANDLE FromValue(std::uint64_t value) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
}
std::uint64_t ToValue(HANDLE handle) { return reinterpret_cast<std::uintptr_t>(handle); }

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  constexpr std::size_t kLongestPath = 32767;
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kLongestPath) return std::wstring();
    path.resize(std::min(path.size() * 2, kLongestPath));
  }
}

}  // namespace

bool Win32Watcher::Start(const std::function<std::string(const WatchHandles&)>& arguments,
                         std::uint32_t* error) {
  // Only these three handles are made inheritable, so only they pass on.
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE program = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &program,
                       SYNCHRONIZE, TRUE, 0)) {
    *error = GetLastError();
    return false;
  }
  const KernelHandle programHandle(program);
  cleanEnd_.reset(CreateEventW(&inherit, TRUE, FALSE, nullptr));
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, &inherit, PAGE_READWRITE, 0,
                                    sizeof(WatchedState), nullptr));
  if (!cleanEnd_.valid() || !mapping_.valid()) {
    *error = GetLastError();
    return false;
  }
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(WatchedState)));
  if (!view_.valid()) {
    *error = GetLastError();
    return false;
  }

  const WatchHandles handles{ToValue(program), ToValue(cleanEnd_.get()), ToValue(mapping_.get())};
  const std::string tail = arguments(handles);
  std::wstring commandLine =
      L"\"" + ExecutablePath() + L"\" " + std::wstring(tail.begin(), tail.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  // No busy cursor for a program that shows no window.
  startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &started)) {
    *error = GetLastError();
    return false;
  }
  CloseHandle(started.hThread);
  process_.reset(started.hProcess);
  // The watcher has its copies; no program started later gets them.
  SetHandleInformation(cleanEnd_.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(mapping_.get(), HANDLE_FLAG_INHERIT, 0);
  return true;
}

void Win32Watcher::HidingForPicture(const std::vector<WindowHandle>& windows) {
  if (!view_.valid()) return;
  WatchedState* state = State(view_.get());
  const std::size_t count = std::min(windows.size(), kHiddenCapacity);
  state->hiddenCount = 0;
  for (std::size_t i = 0; i < count; ++i) state->hidden[i] = windows[i];
  state->hiddenCount = static_cast<std::uint32_t>(count);
}

void Win32Watcher::ShownAgain() {
  if (view_.valid()) State(view_.get())->hiddenCount = 0;
}

void Win32Watcher::EndedCleanly() {
  if (!cleanEnd_.valid()) return;
  SetEvent(cleanEnd_.get());
  cleanEnd_.reset();
  if (process_.valid()) WaitForSingleObject(process_.get(), kWatcherEndWaitMs);
  process_.reset();
}

bool WaitForUncleanEnd(const WatchHandles& handles, std::vector<WindowHandle>* hidden) {
  const KernelHandle program(FromValue(handles.program));
  const KernelHandle cleanEnd(FromValue(handles.cleanEnd));
  const KernelHandle mapping(FromValue(handles.state));
  // The clean end first: when both are signalled, the wait reports it.
  const HANDLE waited[] = {cleanEnd.get(), program.get()};
  const DWORD result = WaitForMultipleObjects(2, waited, FALSE, INFINITE);
  if (result != WAIT_OBJECT_0 + 1) return false;
  if (WaitForSingleObject(cleanEnd.get(), 0) == WAIT_OBJECT_0) return false;
  const MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, sizeof(WatchedState)));
  if (view.valid()) {
    const WatchedState* state = State(view.get());
    const std::size_t count = std::min<std::size_t>(state->hiddenCount, kHiddenCapacity);
    hidden->assign(state->hidden, state->hidden + count);
  }
  return true;
}

}  // namespace platform::win32
