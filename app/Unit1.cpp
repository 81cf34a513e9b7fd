#include "app/Unit1.h"

#include "app/unitScreenshotDesktop.h"
#include "desktops/signal_file.h"
#include "render/frame.h"

namespace app {

TForm1::TForm1(platform::Platform& system)
    : system_(system),
      parking_(system.windows),
      faces_(system.mainWindow, system.files, system.pictures, system.log) {}

void TForm1::FormCreate() {
  sessionActive = false;
  parking_.arrangedDesktop = 0;
  lastForeground = platform::kNoWindow;

  // Defaults first, then whatever the store holds over them.
  settings::LoadSettings(system_.store, &settings);

  system_.graphics.LoadLibraries();

  // The window is created hidden and stays so until a session shows it.
  const platform::WindowHandle self = system_.mainWindow.Handle();
  ShowTrayIcon();
  system_.shell.InstallMouseHook(self);
  system_.shell.WatchForeground(self);
  system_.shell.WatchSignalFile(self, desktops::SignalFilePath(system_.files));
  const bool left = system_.shell.RegisterHotKey(self, kHotkeyLeft, kModAltControl, kVkLeft);
  const bool right = system_.shell.RegisterHotKey(self, kHotkeyRight, kModAltControl, kVkRight);
  if (!left || !right) ReportTakenHotkeys(!left, !right);
  if (system_.shell.RunsElevated()) ReportElevated();

  system_.graphics.SetUpPixelFormat();
  system_.graphics.CreateContext();
  render::EnableDepthAndTexturing();
  faces_.QueryCaps();

  imagesDirty = true;
  // Desktop 0 is on screen now; its own picture is taken by its first
  // session. The others show the bare desktop until they are visited.
  render::Bitmap bareDesktop;
  ScreenshotDesktop(system_, &bareDesktop);
  faces_.ShowBareDesktop(bareDesktop);

  motion_.currentDesktop = 0;
  parking_.arrangedDesktop = 0;
  // One tick once the message loop runs: it sees the first foreground window
  // and a signal file left from before, then the timer stops.
  system_.mainWindow.SetTickInterval(kSessionTickMs);
}

void TForm1::FormClose() {
  const platform::WindowHandle self = system_.mainWindow.Handle();
  system_.shell.UnregisterHotKey(self, kHotkeyLeft);
  system_.shell.UnregisterHotKey(self, kHotkeyRight);
}

void TForm1::FormDestroy() {
  // A close request can reach the full-screen cube window mid-session; the
  // taskbar hidden for that session must not stay hidden for good.
  if (sessionActive) parking_.ShowTaskbar(true);

  system_.shell.RemoveTrayIcon();
  system_.shell.UninstallMouseHook();
  system_.shell.StopWatchingForeground();
  system_.shell.StopWatchingSignalFile();
  // While the context is still current, so the textures really go.
  faces_.Release();
  system_.graphics.DeleteContext();
}

void TForm1::mnuTraySalirClick() { system_.mainWindow.Close(); }

void TForm1::WMHotKey(int id) {
  if (id != kHotkeyLeft && id != kHotkeyRight) return;
  if (!system_.mainWindow.IsVisible()) {
    ShowCube();
    Timer1Timer();
  }
  motion_.TurnFaces(id == kHotkeyLeft ? -1 : 1);
}

void TForm1::GatherWindows() { parking_.GatherWindows(); }

}  // namespace app
