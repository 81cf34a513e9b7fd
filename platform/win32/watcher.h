#pragma once
// The watcher process on Windows: the program starts it (the same executable
// with a switch) and shares three inherited handles with it; the watcher
// waits on the program's process handle, so it costs nothing while it waits.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/watcher.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

// How long a clean end waits for the watcher to go, so that an installer
// waiting on the program finds the executable free.
constexpr DWORD kWatcherEndWaitMs = 1000;

// A view of a file mapping (MapViewOfFile).
struct MappedViewKind {
  using Handle = void*;
  static Handle None() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr; }
  static void Close(Handle handle) { UnmapViewOfFile(handle); }
};
using MappedView = Owned<MappedViewKind>;

// The program's side.
class Win32Watcher : public Watcher {
 public:
  // Starts the watcher process, with the command line `arguments` makes of
  // the handles it inherits. False, with GetLastError's code in *error, when
  // it could not be started; the program then runs without it.
  bool Start(const std::function<std::string(const WatchHandles&)>& arguments,
             std::uint32_t* error);
  void HidingForPicture(const std::vector<WindowHandle>& windows) override;
  void ShownAgain() override;
  // Tells the watcher that the program ends cleanly, and waits (bounded)
  // until it has ended. Once is enough; later calls do nothing.
  void EndedCleanly();

 private:
  KernelHandle cleanEnd_;
  KernelHandle mapping_;
  MappedView view_;
  KernelHandle process_;
};

// The watcher's side: waits until the program ends. True when it ended
// without having said that it ended cleanly; `hidden` then holds the windows
// its start-up picture had hidden and not shown again. False for a clean end
// and for handles that are not the program's (a command line typed by hand).
bool WaitForUncleanEnd(const WatchHandles& handles, std::vector<WindowHandle>* hidden);

}  // namespace platform::win32
