#include "desktops/window_family.h"

namespace desktops {

namespace {
platform::WindowHandle TopOwner(platform::WindowManager& manager, platform::WindowHandle window) {
  for (int depth = 0; depth < kMaxOwnerDepth; ++depth) {
    const platform::WindowHandle owner = manager.Owner(window);
    if (owner == platform::kNoWindow) break;
    window = owner;
  }
  return window;
}

bool Reaches(platform::WindowManager& manager, platform::WindowHandle window,
             platform::WindowHandle top) {
  for (int depth = 0; depth <= kMaxOwnerDepth && window != platform::kNoWindow; ++depth) {
    if (window == top) return true;
    window = manager.Owner(window);
  }
  return false;
}
}  // namespace

std::vector<platform::WindowHandle> FamilyOf(platform::WindowManager& manager,
                                             const std::vector<platform::WindowHandle>& windows,
                                             platform::WindowHandle window) {
  const platform::WindowHandle top = TopOwner(manager, window);
  std::vector<platform::WindowHandle> family;
  for (const platform::WindowHandle candidate : windows) {
    if (Reaches(manager, candidate, top)) family.push_back(candidate);
  }
  return family;
}

}  // namespace desktops
