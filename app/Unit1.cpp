#include "app/Unit1.h"

#include "app/unitScreenshotDesktop.h"
#include "app/watcher_recovery.h"
#include "desktops/signal_file.h"
#include "render/frame.h"

namespace app {

TForm1::TForm1(platform::Platform& system)
    : system_(system),
      parking_(system.windows),
      faces_(system.mainWindow, system.files, system.pictures, &system.log),
      trayIcon_(system.shell, system.clock, system.mainWindow, system.log) {}

void TForm1::FormCreate() {
  sessionActive = false;
  parking_.SetArrangedDesktop(0);
  lastForeground = platform::kNoWindow;
  // A run that ended mid-session, before its watcher could help, left the
  // taskbar hidden.
  if (parking_.ShowHiddenTaskbar()) {
    system_.log.Write("start-up: the taskbar was hidden, left so by an earlier run; shown");
  }

  // Defaults first, then whatever the store holds over them.
  settings::LoadSettings(system_.store, &settings);

  system_.graphics.LoadLibraries();

  // The window is created hidden and stays so until a session shows it.
  const platform::WindowHandle self = system_.mainWindow.Handle();
  // The icon shows desktop 1 from the start.
  trayIcon_.SetDesktopText(MessageText(lang::kTrayDesktop));
  ShowDesktopNumber();
  trayIcon_.Show();
  system_.shell.InstallMouseHook(self);
  system_.shell.WatchForeground(self);
  system_.shell.WatchSignalFile(self, desktops::SignalFilePath(system_.files));
  RegisterHotkeys();
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

  // The windows stand in the layout over the displays as they are at start.
  parking_.ReadDisplays();
  // One tick once the message loop runs: it sees the first foreground window
  // and a signal file left from before, then the timer stops.
  system_.mainWindow.SetTickInterval(kSessionTickMs);
}

void TForm1::FormClose() {
  UnregisterHotkeys();
  // Windows left parked would be out of reach once the program has gone:
  // the taskbar and Alt+Tab still activate them, and their programs save
  // and reopen them there.
  GatherWindows();
}

void TForm1::WMQueryEndSession() {
  // Before the other programs save where their windows stand.
  GatherWindows();
}

void TForm1::FormDestroy() {
  // A close request can reach the full-screen cube window mid-session; the
  // taskbar hidden for that session must not stay hidden for good.
  if (sessionActive) parking_.ShowTaskbar(true);

  trayIcon_.Remove();
  system_.shell.UninstallMouseHook();
  system_.shell.StopWatchingForeground();
  system_.shell.StopWatchingSignalFile();
  // While the context is still current, so the textures really go.
  faces_.Release();
  system_.graphics.DeleteContext();
}

void TForm1::mnuTraySalirClick() { system_.mainWindow.Close(); }

void TForm1::GatherWindows() {
  LogRefusedMoves(system_.log, "gathering", parking_.GatherWindows());
}

}  // namespace app
