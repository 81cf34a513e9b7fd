// The cube session: entering it, the timer tick that animates it and notices
// the triggers of a switch, mouse turning, snapping to a face and the end.
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "desktops/layout.h"
#include "desktops/motion.h"
#include "render/frame.h"

namespace app {

namespace {
constexpr std::uint32_t kLongestPath = 32767;
}  // namespace

void TForm1::ShowCube() {
  platform::WindowManager& windows = system_.windows;
  const std::int32_t w = windows.ScreenWidth();
  const std::int32_t h = windows.ScreenHeight();
  system_.mainWindow.Place(0, 0, w, h);
  RefreshTextures(w, h);
  render::SetViewport(w, h);

  const platform::Point cursor = windows.CursorPos();
  lastCursorX = cursor.x;
  lastCursorY = cursor.y;

  shownPitch = 0;
  shownYaw = -desktops::kQuarterTurn * static_cast<float>(currentDesktop);
  targetPitch = 0;
  targetYaw = shownYaw;
  shownZoomOut = 0;
  targetZoomOut = 1;
  mouseTurning = true;

  CollectWindows();
  system_.mainWindow.ShowOnTop();
  SetArrangedDesktop(currentDesktop);
  ShowTaskbar(false);
  animationClock = system_.clock.TickCount();
  sessionActive = true;
  system_.mainWindow.SetTickInterval(kSessionTickMs);
}

void TForm1::Timer1Timer() {
  RetryTrayIcon();
  if (FollowForeground()) return;
  if (!system_.mainWindow.IsVisible() && PollSignalFile()) return;
  if (!sessionActive) {
    // Nothing to animate: wait for the next event, and while the tray icon
    // is missing, for the time to try it again.
    if (trayIconShown) {
      system_.mainWindow.StopTicks();
    } else {
      system_.mainWindow.SetTickInterval(kTrayRetryMs);
    }
    return;
  }

  if (!mouseTurning && desktops::Settled(shownZoomOut, targetZoomOut, shownPitch, targetPitch,
                                         shownYaw, targetYaw)) {
    // Taskbar and windows go into place while the cube still covers the
    // screen, so the user never sees them move. The keyboard goes to the
    // desktop now shown while the cube still has it to give: hiding the cube
    // would hand it to the next window down, parked or not.
    ShowTaskbar(true);
    ArrangeWindows(currentDesktop);
    lastForeground = platform::kNoWindow;
    HandOnForeground(arranged_, {progmanWindow, trayWindow});
    system_.mainWindow.Hide();
    if (lastForeground == platform::kNoWindow) lastForeground = system_.windows.Foreground();
    // The timer ticks once more, hidden: a signal file written during the
    // session is taken then.
    sessionActive = false;
    return;
  }

  Ease();
  system_.mainWindow.Repaint();
  if (!system_.windows.LeftButtonDown()) SnapToFace();
}

void TForm1::WMForegroundChanged() {
  if (!sessionActive) Timer1Timer();
}

void TForm1::WMSignalWritten() {
  if (!sessionActive) Timer1Timer();
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
  const int count = desktops::DesktopOffsetOf(rect, windows.ScreenWidth());
  const platform::WindowHandle previous = lastForeground;
  lastForeground = foreground;
  if (count == 0 || system_.mainWindow.IsVisible()) return false;
  // The user chose the window only when the one active before it is still
  // there; when that one was closed, minimised or hidden, the system picked
  // the next window down, which may be parked. The keyboard then stays on
  // this desktop.
  if (!windows.IsVisible(previous) || windows.IsMinimised(previous)) {
    const desktops::ShellWindows shell = desktops::FindShellWindows(windows);
    HandOnForeground(WindowsAsTheyStand(shell), shell);
    return false;
  }

  ShowCube();
  Timer1Timer();
  targetYaw -= desktops::kQuarterTurn * static_cast<float>(count);
  currentDesktop = desktops::WrapDesktop(currentDesktop + count);
  return true;
}

std::string TForm1::SignalFilePath() {
  std::vector<char> buffer(kTempPathBufferLength);
  std::uint32_t length = system_.files.TempPath(kTempPathBufferLength, buffer.data());
  if (length >= buffer.size()) {
    // Too long for the usual buffer: the answer is the size it needs. Ask
    // once more with that; a path longer than any Windows path, or one still
    // growing, counts as none.
    if (length <= kLongestPath) {
      buffer.assign(length, '\0');
      length = system_.files.TempPath(static_cast<std::uint32_t>(buffer.size()), buffer.data());
    }
    if (length >= buffer.size()) length = 0;
  }
  std::string directory(buffer.data(), length);
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory + kSignalFileName;
}

bool TForm1::PollSignalFile() {
  try {
    const std::string path = SignalFilePath();
    if (!system_.files.FileExists(path)) return false;
    system_.files.RemoveFile(path);
    ShowCube();
  } catch (...) {
    // A failed request for the cube is dropped; the next signal tries again.
  }
  return true;
}

void TForm1::Ease() {
  // Whole steps of tick-count time; the unsigned difference keeps working
  // when the counter wraps around. Late ticks catch up without a cap.
  while (static_cast<std::uint32_t>(system_.clock.TickCount() - animationClock) >=
         desktops::kAnimationStepMs) {
    animationClock += desktops::kAnimationStepMs;
    const long double p = desktops::EasingFactor(settings.speed);
    shownZoomOut = desktops::EaseStep(shownZoomOut, targetZoomOut, p);
    shownPitch = desktops::EaseStep(shownPitch, targetPitch, p);
    shownYaw = desktops::EaseStep(shownYaw, targetYaw, p);
  }
}

void TForm1::SnapToFace() {
  if (!mouseTurning) return;
  mouseTurning = false;
  targetZoomOut = 0;
  targetPitch = 0;
  const desktops::Snap snap = desktops::SnapYaw(targetYaw, shownYaw);
  currentDesktop = snap.desktop;
  targetYaw = snap.targetYaw;
  shownYaw = snap.shownYaw;
}

void TForm1::FormMouseMove() { system_.mainWindow.Repaint(); }

void TForm1::FormPaint() {
  platform::WindowManager& windows = system_.windows;
  const platform::Point cursor = windows.CursorPos();
  render::BeginFrame(settings.zoom * shownZoomOut);

  if (mouseTurning) {
    targetPitch = desktops::TurnedPitch(targetPitch, cursor.y - lastCursorY);
    targetYaw = desktops::TurnedYaw(targetYaw, cursor.x - lastCursorX);
    shownPitch = targetPitch;
    shownYaw = targetYaw;
  }
  render::OrientBox(shownPitch, shownYaw);

  lastCursorX = cursor.x;
  lastCursorY = cursor.y;
  const desktops::CursorWrap wrap =
      desktops::WrapCursor(cursor, windows.ScreenWidth(), windows.ScreenHeight());
  if (wrap.moved) {
    lastCursorX += wrap.shiftX;
    lastCursorY += wrap.shiftY;
    windows.PutCursor(wrap.put.x, wrap.put.y);
  }

  render::DrawBox(faceTextures, topTexture, bottomTexture, windows.ScreenWidth());
  render::DrawBackground(shownPitch, shownYaw, backgroundTexture);
  system_.graphics.Present();
}

}  // namespace app
