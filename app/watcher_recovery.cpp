#include "app/watcher_recovery.h"

#include "desktops/window_parking.h"

namespace app {

int RecoverDesktop(platform::WindowManager& windows,
                   const std::vector<platform::WindowHandle>& hidden) {
  desktops::WindowParking parking(windows);
  parking.ShowTaskbar(true);
  return parking.GatherWindows(hidden);
}

}  // namespace app
