#pragma once
// The window manager as the switching logic sees it: top-level windows, the
// primary screen, the foreground window, the cursor and the left button.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace platform {

// Flags of a window move, numbered as SetWindowPos numbers them.
enum MoveFlag : std::uint32_t {
  kMoveNoSize = 0x0001,
  kMoveNoMove = 0x0002,
  kMoveNoZOrder = 0x0004,
  kMoveNoRedraw = 0x0008,
  kMoveNoActivate = 0x0010,
  kMoveShowWindow = 0x0040,
  kMoveHideWindow = 0x0080,
  kMoveNoOwnerZOrder = 0x0200,
  kMoveNoSendChanging = 0x0400,
  // The move is handed to the window's own thread and not waited for, so a
  // program that stops answering holds nobody up.
  kMoveAsync = 0x4000,
};

constexpr std::uint32_t kExStyleToolWindow = 0x00000080;
constexpr std::uint32_t kExStyleLayered = 0x00080000;
constexpr std::uint32_t kExStyleNoActivate = 0x08000000;

class WindowManager {
 public:
  virtual ~WindowManager() = default;

  // The top-level window of the given class (no title), or kNoWindow.
  virtual WindowHandle FindByClass(const std::string& className) = 0;
  // Visits every top-level window, topmost first; stops early when the
  // visitor answers false.
  virtual void EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) = 0;
  virtual bool IsVisible(WindowHandle window) = 0;
  virtual std::uint32_t ExtendedStyle(WindowHandle window) = 0;
  // False when the rectangle cannot be read (for instance a closed window).
  virtual bool GetRect(WindowHandle window, Rect* rect) = 0;
  virtual bool IsMinimised(WindowHandle window) = 0;
  // Whether the window is of the given class; class names compare without
  // regard to case, as the system compares them.
  virtual bool IsOfClass(WindowHandle window, const std::string& className) = 0;
  // Whether the window has a child window of the given class.
  virtual bool HasChildOfClass(WindowHandle window, const std::string& className) = 0;
  // Visible to the window manager but not shown by the desktop compositor
  // (windows of the system's own virtual desktops, suspended apps).
  virtual bool IsCloaked(WindowHandle window) = 0;
  // Moves a window without resizing: SetWindowPos(window, 0, x, y, 0, 0, flags).
  virtual bool Move(WindowHandle window, std::int32_t x, std::int32_t y, std::uint32_t flags) = 0;
  // Where a minimised window comes back when it is restored, in screen
  // coordinates. Moving a minimised window moves only its icon, so this is
  // the rectangle that tells its desktop.
  virtual bool GetRestoreRect(WindowHandle window, Rect* rect) = 0;
  // Sets where a minimised window comes back, keeping its size; it stays
  // minimised and inactive, and the change is not waited for.
  virtual bool MoveRestoreRect(WindowHandle window, std::int32_t x, std::int32_t y) = 0;
  // The system's code for why the last call that failed on this thread
  // failed (GetLastError), for the log.
  virtual std::uint32_t LastError() = 0;
  // The window that owns this top-level window (a dialog's or a tool
  // window's main window), or kNoWindow.
  virtual WindowHandle Owner(WindowHandle window) = 0;
  virtual WindowHandle Foreground() = 0;
  // The system's root window, which has the keyboard when no program's
  // window does.
  virtual WindowHandle RootWindow() = 0;
  // Makes the window the foreground window, from whichever process holds the
  // foreground now.
  virtual void Activate(WindowHandle window) = 0;

  // Primary screen size in pixels, read afresh at every call.
  virtual std::int32_t ScreenWidth() = 0;
  virtual std::int32_t ScreenHeight() = 0;

  virtual Point CursorPos() = 0;
  virtual void PutCursor(std::int32_t x, std::int32_t y) = 0;
  // The asynchronous state of the left mouse button (held down now).
  virtual bool LeftButtonDown() = 0;
};

}  // namespace platform
