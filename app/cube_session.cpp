// The cube session: entering it, the timer tick that animates it and notices
// the triggers of a switch, the paint that turns the cube with the mouse, and
// the end.
#include "app/Unit1.h"
#include "desktops/layout.h"
#include "desktops/signal_file.h"
#include "render/frame.h"

namespace app {

void TForm1::ShowCube() {
  platform::WindowManager& windows = system_.windows;
  const std::int32_t w = windows.ScreenWidth();
  const std::int32_t h = windows.ScreenHeight();
  system_.mainWindow.Place(0, 0, w, h);
  const render::PicturePaths paths{settings.topPath, settings.bottomPath, settings.backgroundPath};
  faces_.Refresh(motion_.CurrentDesktop(), w, h, system_.capture, imagesDirty ? &paths : nullptr);
  imagesDirty = false;
  render::SetViewport(w, h);

  parking_.CollectWindows();
  system_.mainWindow.ShowOnTop();
  parking_.SetArrangedDesktop(motion_.CurrentDesktop());
  parking_.ShowTaskbar(false);
  motion_.Start(windows.CursorPos(), system_.clock.TickCount());
  sessionActive = true;
  system_.mainWindow.SetTickInterval(kSessionTickMs);
}

void TForm1::Timer1Timer() {
  trayIcon_.Retry();
  if (FollowForeground()) return;
  if (!system_.mainWindow.IsVisible() && PollSignalFile()) return;
  if (!sessionActive) {
    if (FollowDisplayChange()) return;
    // Nothing to animate: wait for the next event, and while the tray icon
    // is missing, for the time to try it again.
    if (trayIcon_.Shown()) {
      system_.mainWindow.StopTicks();
    } else {
      system_.mainWindow.SetTickInterval(kTrayRetryMs);
    }
    return;
  }
  if (motion_.Settled()) {
    EndSession();
    return;
  }
  Animate();
}

void TForm1::Animate() {
  motion_.Advance(system_.clock, settings.speed);
  system_.mainWindow.Repaint();
  if (!system_.windows.LeftButtonDown()) SnapToFace();
}

void TForm1::BeginTurn(int faces) {
  if (!system_.mainWindow.IsVisible()) {
    ShowCube();
    // The session's first tick: with the button up it snaps, so the camera
    // stays close and the turn below starts from the face just left; with
    // the button held the cube keeps following the mouse.
    Animate();
  }
  motion_.TurnFaces(faces);
}

void TForm1::EndSession() {
  // Taskbar and windows go into place while the cube still covers the
  // screen, so the user never sees them move. The keyboard goes to the
  // desktop now shown while the cube still has it to give: hiding the cube
  // would hand it to the next window down, parked or not.
  parking_.ShowTaskbar(true);
  parking_.ArrangeWindows(motion_.CurrentDesktop());
  lastForeground = platform::kNoWindow;
  HandOnForeground(parking_.KeyboardWindowArranged());
  system_.mainWindow.Hide();
  if (lastForeground == platform::kNoWindow) lastForeground = system_.windows.Foreground();
  // With the taskbar back, whose icon the balloon comes from.
  ReportImmovableWindow();
  // The timer ticks once more, hidden: a signal file written during the
  // session is taken then.
  sessionActive = false;
  ShowDesktopNumber();
}

void TForm1::ShowDesktopNumber() { trayIcon_.ShowDesktop(motion_.CurrentDesktop() + 1); }

void TForm1::WMForegroundChanged() {
  if (!sessionActive) Timer1Timer();
}

void TForm1::WMSignalWritten() {
  if (!sessionActive) Timer1Timer();
}

void TForm1::WMDisplayChange() {
  displaysChanged = true;
  displaysChangedClock = system_.clock.TickCount();
  // A running session ticks anyway and ends before the windows follow.
  if (!sessionActive) system_.mainWindow.SetTickInterval(kDisplaysStillMs);
}

bool TForm1::FollowDisplayChange() {
  if (!displaysChanged) return false;
  // Unsigned, so a wrap of the tick count changes nothing.
  const std::uint32_t still = system_.clock.TickCount() - displaysChangedClock;
  if (still < kDisplaysStillMs) {
    system_.mainWindow.SetTickInterval(kDisplaysStillMs - still);
    return true;
  }
  displaysChanged = false;
  const desktops::Span before = parking_.LayoutSpan();
  const desktops::GatherResult done = parking_.FollowDisplays();
  const desktops::Span after = parking_.LayoutSpan();
  // The system's text for the last refusal, when there was one.
  system_.log.Write("displays changed: virtual screen from x " + std::to_string(before.left) +
                        ", " + std::to_string(before.width) + " wide, to x " +
                        std::to_string(after.left) + ", " + std::to_string(after.width) +
                        " wide; windows re-placed " + std::to_string(done.moved) + ", refused " +
                        std::to_string(done.refused),
                    done.lastError);
  return false;
}

// Turns to the desktop of a newly activated window that stands off screen.
// Returns true when it opened a session, which ends the tick.
bool TForm1::FollowForeground() {
  platform::WindowManager& windows = system_.windows;
  const platform::WindowHandle foreground = windows.Foreground();
  if (foreground == system_.mainWindow.Handle() || foreground == lastForeground ||
      !windows.IsVisible(foreground)) {
    return false;
  }
  if (lastForeground == platform::kNoWindow) {
    lastForeground = foreground;
    return false;
  }
  platform::Rect rect;
  windows.GetRect(foreground, &rect);
  const int count = desktops::DesktopOffsetOf(rect, parking_.LayoutSpan());
  const platform::WindowHandle previous = lastForeground;
  lastForeground = foreground;
  if (count == 0 || system_.mainWindow.IsVisible()) return false;
  // The user chose the window only when the one active before it is still
  // there; when that one was closed, minimised or hidden, the system picked
  // the next window down, which may be parked. The keyboard then stays on
  // this desktop.
  if (!windows.IsVisible(previous) || windows.IsMinimised(previous)) {
    HandOnForeground(parking_.KeyboardWindowNow());
    return false;
  }

  BeginTurn(count);
  return true;
}

void TForm1::HandOnForeground(platform::WindowHandle window) {
  if (window == platform::kNoWindow) return;
  system_.windows.Activate(window);
  lastForeground = window;
}

bool TForm1::PollSignalFile() {
  try {
    const std::string path = desktops::SignalFilePath(system_.files);
    if (!system_.files.FileExists(path)) {
      signalStuck = false;
      return false;
    }
    // A file that cannot be removed (read-only, a deny-delete ACL, a scanner
    // holding it) would open a session after every session, for good. It is
    // passed over until it is written again.
    std::uint64_t written = 0;
    system_.files.WriteTime(path, &written);
    if (signalStuck && written == stuckSignalTime) return false;
    if (!system_.files.RemoveFile(path)) {
      const std::uint32_t error = system_.files.LastError();
      system_.log.Write("signal file not removed, passed over until it is written again: " + path,
                        error);
      signalStuck = true;
      stuckSignalTime = written;
      return false;
    }
    signalStuck = false;
    ShowCube();
  } catch (...) {
    // A failed request for the cube is dropped; the next signal tries again.
  }
  return true;
}

void TForm1::SnapToFace() { motion_.Snap(); }

void TForm1::FormMouseMove() { system_.mainWindow.Repaint(); }

void TForm1::FormPaint() {
  platform::WindowManager& windows = system_.windows;
  const platform::Point cursor = windows.CursorPos();
  const std::int32_t w = windows.ScreenWidth();
  render::BeginFrame(settings.zoom * motion_.Shown().zoomOut);
  const desktops::CursorWrap wrap = motion_.Turn(cursor, w, windows.ScreenHeight());
  if (wrap.moved) windows.PutCursor(wrap.put.x, wrap.put.y);
  const desktops::Pose& shown = motion_.Shown();
  render::OrientBox(shown.pitch, shown.yaw);
  faces_.Draw(shown.pitch, shown.yaw, w);
  system_.graphics.Present();
}

}  // namespace app
