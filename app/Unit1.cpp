#include "app/Unit1.h"

#include <algorithm>

#include "app/unitScreenshotDesktop.h"
#include "desktops/layout.h"
#include "desktops/motion.h"
#include "render/frame.h"

namespace app {

TForm1::TForm1(platform::Platform& system)
    : system_(system), pictures_(system.files, system.pictures) {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint8_t> pixels;
  if (system_.mainWindow.DefaultCapPicture(&width, &height, &pixels)) {
    imgDefault.SetSize(width, height);
    if (pixels.size() == imgDefault.ByteSize()) {
      std::copy(pixels.begin(), pixels.end(), imgDefault.Data());
    }
  }
}

void TForm1::FormCreate() {
  sessionActive = false;
  arrangedDesktop = 0;
  lastForeground = platform::kNoWindow;

  // Defaults first, then whatever the store holds over them.
  settings::LoadSettings(system_.store, &settings);

  system_.graphics.LoadLibraries();

  // The window is created hidden and stays so until a session shows it.
  const platform::WindowHandle self = system_.mainWindow.Handle();
  ShowTrayIcon();
  system_.shell.InstallMouseHook(self);
  system_.shell.WatchForeground(self);
  system_.shell.WatchSignalFile(self, SignalFilePath());
  const bool left = system_.shell.RegisterHotKey(self, kHotkeyLeft, kModAltControl, kVkLeft);
  const bool right = system_.shell.RegisterHotKey(self, kHotkeyRight, kModAltControl, kVkRight);
  if (!left || !right) ReportTakenHotkeys(!left, !right);

  system_.graphics.SetUpPixelFormat();
  system_.graphics.CreateContext();
  render::EnableDepthAndTexturing();
  textureCaps = render::QueryTextureCaps();

  imagesDirty = true;
  // Desktop 0 is on screen now; its own picture is taken by its first
  // session. The others show the bare desktop until they are visited.
  ScreenshotDesktop(system_, &faceBitmaps[1]);
  faceBitmaps[2] = faceBitmaps[1];
  faceBitmaps[3] = faceBitmaps[1];

  currentDesktop = 0;
  arrangedDesktop = 0;
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
  if (sessionActive) ShowTaskbar(true);

  system_.shell.RemoveTrayIcon();
  system_.shell.UninstallMouseHook();
  system_.shell.StopWatchingForeground();
  system_.shell.StopWatchingSignalFile();
  ReleaseTextures();
  system_.graphics.DeleteContext();
}

void TForm1::ReleaseTextures() {
  // While the context is still current, so the textures really go.
  for (std::size_t face = 0; face < faceBitmaps.size(); ++face) {
    faceBitmaps[face] = render::Bitmap();
    render::FreeTexture(faceTextures[face]);
  }
  render::FreeTexture(topTexture);
  render::FreeTexture(bottomTexture);
  render::FreeTexture(backgroundTexture);
  topBitmap = render::Bitmap();
  bottomBitmap = render::Bitmap();
  backgroundBitmap = render::Bitmap();
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
  const platform::WindowHandle taskbar = system_.windows.FindByClass(desktops::kTaskbarClass);
  if (taskbar == platform::kNoWindow) return;
  system_.windows.Move(taskbar, 0, 0, show ? kShowTaskbarFlags : kHideTaskbarFlags);
}

}  // namespace app
