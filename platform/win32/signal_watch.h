#pragma once
// Watches one file's directory from a thread of its own and tells a window
// whenever the file is there after a change of the directory's names, so
// nobody has to look for the file on a timer.
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace platform::win32 {

class SignalFileWatch {
 public:
  SignalFileWatch() = default;
  ~SignalFileWatch() { Stop(); }
  SignalFileWatch(const SignalFileWatch&) = delete;
  SignalFileWatch& operator=(const SignalFileWatch&) = delete;

  // Posts `message` to `window` each time `path` exists after a file of its
  // directory was made, renamed or deleted. Replaces a watch running before.
  // Without a directory to watch, nothing is watched.
  void Start(HWND window, UINT message, const std::string& path);
  // Ends the watch and waits for its thread.
  void Stop();

 private:
  static DWORD WINAPI Run(LPVOID self);

  HWND window_ = nullptr;
  UINT message_ = 0;
  std::string path_;
  ChangeWatch change_;
  KernelHandle stop_;
  KernelHandle thread_;
};

}  // namespace platform::win32
