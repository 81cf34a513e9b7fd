#include "platform/win32/signal_watch.h"

namespace platform::win32 {

void SignalFileWatch::Start(HWND window, UINT message, const std::string& path) {
  Stop();
  const std::size_t separator = path.find_last_of('\\');
  if (separator == std::string::npos) return;
  window_ = window;
  message_ = message;
  path_ = path;
  // Names only: the signal file is made under another name and renamed.
  change_.reset(FindFirstChangeNotificationA(path.substr(0, separator + 1).c_str(), FALSE,
                                             FILE_NOTIFY_CHANGE_FILE_NAME));
  stop_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!change_.valid() || !stop_.valid()) return;
  thread_.reset(CreateThread(nullptr, 0, &SignalFileWatch::Run, this, 0, nullptr));
}

void SignalFileWatch::Stop() {
  if (thread_.valid()) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  thread_.reset();
  stop_.reset();
  change_.reset();
}

DWORD WINAPI SignalFileWatch::Run(LPVOID parameter) {
  const auto* self = static_cast<const SignalFileWatch*>(parameter);
  const HANDLE waits[] = {self->stop_.get(), self->change_.get()};
  // Wakes only when the directory's names change or the watch ends.
  while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    const DWORD attributes = GetFileAttributesA(self->path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      PostMessageA(self->window_, self->message_, 0, 0);
    }
    if (!FindNextChangeNotification(self->change_.get())) break;
  }
  return 0;
}

}  // namespace platform::win32
