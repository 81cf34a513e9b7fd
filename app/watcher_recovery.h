#pragma once
// What the watcher does once the program has ended without saying that it
// ended cleanly (a crash, End task, a kill): nothing it left may stay out of
// reach.
#include <vector>

#include "platform/window_manager.h"

namespace app {

// Shows the taskbar, shows again the windows the start-up picture had
// hidden, and gathers every window onto the screen; returns how many
// windows it moved or showed.
int RecoverDesktop(platform::WindowManager& windows,
                   const std::vector<platform::WindowHandle>& hidden);

}  // namespace app
