#pragma once
// The windows of the four desktops: which ones take part in switching, and
// moving them by whole screen widths so that one desktop's stand on the
// screen and the others' are parked beside it; the taskbar, hidden while the
// cube is shown; and the window that gets the keyboard on the desktop shown.
#include <cstdint>
#include <functional>
#include <vector>

#include "desktops/window_rules.h"
#include "platform/window_manager.h"

namespace desktops {

// Moves of the taskbar and of the managed windows. They belong to other
// programs, so none is waited for: a program that stops answering moves when
// it answers again and holds up nothing meanwhile.
constexpr std::uint32_t kHideTaskbarFlags = platform::kMoveNoSize | platform::kMoveNoMove |
                                            platform::kMoveNoZOrder | platform::kMoveNoRedraw |
                                            platform::kMoveNoActivate | platform::kMoveHideWindow |
                                            platform::kMoveNoOwnerZOrder | platform::kMoveAsync;
constexpr std::uint32_t kShowTaskbarFlags = platform::kMoveNoSize | platform::kMoveNoMove |
                                            platform::kMoveNoZOrder | platform::kMoveNoActivate |
                                            platform::kMoveShowWindow |
                                            platform::kMoveNoOwnerZOrder | platform::kMoveAsync;
constexpr std::uint32_t kArrangeFlags = platform::kMoveNoSize | platform::kMoveNoZOrder |
                                        platform::kMoveNoActivate | platform::kMoveShowWindow |
                                        platform::kMoveNoOwnerZOrder |
                                        platform::kMoveNoSendChanging | platform::kMoveAsync;
static_assert(kHideTaskbarFlags == 0x429F && kShowTaskbarFlags == 0x4257 &&
              kArrangeFlags == 0x4655);

// What gathering or re-placing the windows did: windows moved (or shown),
// and moves the system refused, with its code for the last refusal.
struct GatherResult {
  int moved = 0;
  int refused = 0;
  std::uint32_t lastError = 0;
};

class WindowParking {
 public:
  // Takes the displays as they are now as those the windows stand in.
  explicit WindowParking(platform::WindowManager& windows);

  // The windows stand in the layout over the displays as they are now.
  void ReadDisplays();
  // What the windows are laid out across, and by which every position is
  // read: the displays they were last arranged for.
  Span LayoutSpan() const { return displays_.span; }

  // Finds the shell's windows afresh and collects the managed windows.
  void CollectWindows();
  // The windows that take part in switching, as the last collection found
  // them, topmost first.
  const std::vector<platform::WindowHandle>& ManagedWindows() const { return managed_; }
  // The shell's desktop window and taskbar as the last collection found them.
  const ShellWindows& Shell() const { return shell_; }
  // The desktop the windows stand arranged for: what ArrangeWindows moves
  // them from.
  void SetArrangedDesktop(std::int32_t desktop);
  std::int32_t ArrangedDesktop() const { return arrangedDesktop_; }
  // Moves every managed window by whole layout widths so that the windows of
  // `desktop` stand on the screen, relative to the layout recorded by
  // SetArrangedDesktop; once per collection.
  void ArrangeWindows(std::int32_t desktop);
  // Moves every window that stands on another desktop onto the screen, to
  // where it stands while its own desktop is shown, so that no window stays
  // parked once the program has gone; shows the `hidden` ones there too.
  GatherResult GatherWindows(const std::vector<platform::WindowHandle>& hidden = {});
  // The displays changed: every window that takes part goes from where it
  // stands in the layout over the displays last arranged for to the same
  // desktop and place in the layout over the displays now, which are kept
  // from then on. A window whose place lies on no monitor any more comes
  // onto the primary's work area.
  GatherResult FollowDisplays();
  void ShowTaskbar(bool show);
  // Shows the taskbar when it is hidden (a run that ended mid-session left
  // it so); true when it did.
  bool ShowHiddenTaskbar();
  // Takes `window` along to the desktop the session ends on, when it is a
  // managed window on the screen, not minimised: it and its family
  // (FamilyOf) stay where they stand while the other windows move, and it
  // keeps the keyboard. False, and nothing taken, otherwise. Until the next
  // collection.
  bool CarryAlong(platform::WindowHandle window);
  bool Carrying() const { return carriedActive_ != platform::kNoWindow; }

  // The window that should have the keyboard on the desktop shown
  // (KeyboardWindow): after ArrangeWindows, judged by where it put the
  // windows, since its moves are not waited for; or as the windows stand now.
  platform::WindowHandle KeyboardWindowArranged();
  platform::WindowHandle KeyboardWindowNow();

  // The first window seen that belongs to a program run as administrator,
  // which the system does not let this program move (kNoWindow until then).
  // Such windows are never collected, gathered or re-placed.
  platform::WindowHandle FirstImmovableWindow() const { return firstImmovable_; }

 private:
  // Collects `window` when it takes part in switching; goes on listing.
  bool CollectWindowProc(platform::WindowHandle window);
  // TakesPart, and a window this program is let move.
  bool Switches(const ShellWindows& shell, platform::WindowHandle window, platform::Rect* rect);
  // The windows that take part in switching, where they stand now.
  std::vector<PlacedWindow> WindowsAsTheyStand(const ShellWindows& shell);
  // Moves every window that takes part to where `place` puts its rectangle,
  // when that differs from where it stands. A minimised window's rectangle
  // is its icon's: where it comes back when restored is moved instead.
  GatherResult MoveEachStanding(const std::function<platform::Point(const platform::Rect&)>& place);
  // Brings one window home (GatherWindows); with `show` also when it stands
  // on the screen already.
  void Gather(const PlacedWindow& placed, bool show, GatherResult* result);

  platform::WindowManager& windows_;
  Displays displays_;
  std::vector<platform::WindowHandle> managed_;
  ShellWindows shell_;
  std::int32_t arrangedDesktop_ = 0;
  platform::WindowHandle firstImmovable_ = platform::kNoWindow;
  bool Carried(platform::WindowHandle window) const;

  // The windows taken along, and the one of them that keeps the keyboard.
  std::vector<platform::WindowHandle> carried_;
  platform::WindowHandle carriedActive_ = platform::kNoWindow;
  // Where the last arrangement put the managed windows, topmost first.
  std::vector<PlacedWindow> arranged_;
};

}  // namespace desktops
