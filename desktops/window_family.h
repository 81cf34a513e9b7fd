#pragma once
// A window's family: the windows that belong with it on one desktop, its
// owner and the dialogs and tool windows owned by either.
#include <vector>

#include "platform/window_manager.h"

namespace desktops {

// Owner chains are followed this far at most, so a chain that loops (a
// damaged one, or windows changing meanwhile) ends.
constexpr int kMaxOwnerDepth = 32;

// The windows of `windows` (a collection) in `window`'s family: those whose
// chain of owners reaches the top of `window`'s own chain, that top included.
// A dialog thus goes with the window it belongs to, and a window with its
// dialogs.
std::vector<platform::WindowHandle> FamilyOf(platform::WindowManager& manager,
                                             const std::vector<platform::WindowHandle>& windows,
                                             platform::WindowHandle window);

}  // namespace desktops
