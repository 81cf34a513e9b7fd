#pragma once
// The program's watcher, a process of its own that puts the desktop right
// when the program ends without saying that it ended cleanly (a crash, End
// task, a kill): it shows the taskbar, shows again the windows the start-up
// picture had hidden, and gathers every window onto the screen.
#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace platform {

// What the watcher is handed on its command line: the values of three
// handles it inherits from the program (the program's process, the event
// set at its clean end, and the memory the hidden windows are kept in).
struct WatchHandles {
  std::uint64_t program = 0;
  std::uint64_t cleanEnd = 0;
  std::uint64_t state = 0;
};

class Watcher {
 public:
  virtual ~Watcher() = default;
  // The windows the start-up picture hides, told before the first is
  // hidden; the watcher shows them if the program ends before ShownAgain.
  virtual void HidingForPicture(const std::vector<WindowHandle>& windows) = 0;
  virtual void ShownAgain() = 0;
};

}  // namespace platform
