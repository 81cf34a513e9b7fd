#include "app/Unit1.h"

#include "app/unitScreenshotDesktop.h"
#include "desktops/layout.h"
#include "desktops/motion.h"

namespace app {

TForm1::TForm1(platform::Platform& system) : system_(system) {}

void TForm1::FormCreate() {
  sessionActive = false;
  arrangedDesktop = 0;
  lastForeground = platform::kNoWindow;

  // Defaults first, then whatever the store holds over them.
  settings::LoadSettings(system_.store, &settings);

  system_.graphics.LoadLibraries();

  // The window is created hidden and stays so until a session shows it.
  const platform::WindowHandle self = system_.mainWindow.Handle();
  system_.shell.AddTrayIcon(self);
  system_.shell.InstallMouseHook(self);
  system_.shell.RegisterHotKey(self, kHotkeyLeft, kModAltControl, kVkLeft);
  system_.shell.RegisterHotKey(self, kHotkeyRight, kModAltControl, kVkRight);

  system_.graphics.SetUpPixelFormat();
  system_.graphics.CreateContext();
  system_.graphics.EnableDepthAndTexturing();

  imagesDirty = true;
  // Desktop 0 is on screen now; its own picture is taken by its first
  // session. The others show the bare desktop until they are visited.
  ScreenshotDesktop(system_, &faceBitmaps[1]);
  faceBitmaps[2] = faceBitmaps[1];
  faceBitmaps[3] = faceBitmaps[1];

  currentDesktop = 0;
  arrangedDesktop = 0;
  system_.mainWindow.SetTickInterval(kIdleTickMs);
}

void TForm1::FormClose() {
  const platform::WindowHandle self = system_.mainWindow.Handle();
  system_.shell.UnregisterHotKey(self, kHotkeyLeft);
  system_.shell.UnregisterHotKey(self, kHotkeyRight);
}

void TForm1::FormDestroy() {
  // A close request can reach the full-screen cube window mid-session; the
  // taskbar hidden for that session must not stay hidden for good.
  if (sessionActive) ShowTaskbar(true);

  system_.shell.RemoveTrayIcon();
  system_.shell.UninstallMouseHook();
  for (render::Bitmap& face : faceBitmaps) face = render::Bitmap();
  system_.graphics.DeleteContext();
}

void TForm1::mnuTraySalirClick() { system_.mainWindow.Close(); }

void TForm1::WMHotKey(int id) {
  if (id != kHotkeyLeft && id != kHotkeyRight) return;
  if (!system_.mainWindow.IsVisible()) {
    ShowCube();
    Timer1Timer();
  }
  if (id == kHotkeyLeft) {
    targetYaw += desktops::kQuarterTurn;
    currentDesktop = desktops::WrapDesktop(currentDesktop - 1);
  } else {
    targetYaw -= desktops::kQuarterTurn;
    currentDesktop = desktops::WrapDesktop(currentDesktop + 1);
  }
}

void TForm1::ShowTaskbar(bool show) {
  const platform::WindowHandle taskbar = system_.windows.FindByClass(kTaskbarClass);
  if (taskbar == platform::kNoWindow) return;
  system_.windows.Move(taskbar, 0, 0, show ? kShowTaskbarFlags : kHideTaskbarFlags);
}

}  // namespace app
