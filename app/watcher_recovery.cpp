#include "app/watcher_recovery.h"

namespace app {

void LogRefusedMoves(platform::Log& log, const std::string& who,
                     const desktops::GatherResult& result) {
  if (result.refused == 0) return;
  log.Write(
      who + ": " + std::to_string(result.refused) + " windows could not be moved onto the screen",
      result.lastError);
}

void RecoverDesktop(platform::WindowManager& windows,
                    const std::vector<platform::WindowHandle>& hidden, platform::Log& log) {
  desktops::WindowParking parking(windows);
  parking.ShowTaskbar(true);
  const desktops::GatherResult result = parking.GatherWindows(hidden);
  log.Write("watcher: the program ended without a clean end; taskbar shown, " +
            std::to_string(hidden.size()) + " windows hidden for the start-up picture, " +
            std::to_string(result.moved) + " windows moved or shown onto the screen");
  LogRefusedMoves(log, "watcher", result);
}

}  // namespace app
