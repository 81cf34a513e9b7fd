#pragma once
// Gathering every window home as the program ends, and what the watcher does
// once the program has ended without saying that it ended cleanly (a crash,
// End task, a kill): nothing it left may stay out of reach.
#include <string>
#include <vector>

#include "desktops/window_parking.h"
#include "platform/log.h"
#include "platform/window_manager.h"

namespace app {

// Logs the moves a gathering had refused, if any, naming who gathered.
void LogRefusedMoves(platform::Log& log, const std::string& who,
                     const desktops::GatherResult& result);

// Shows the taskbar, shows again the windows the start-up picture had
// hidden, and gathers every window onto the screen; logs what it did.
void RecoverDesktop(platform::WindowManager& windows,
                    const std::vector<platform::WindowHandle>& hidden, platform::Log& log);

}  // namespace app
