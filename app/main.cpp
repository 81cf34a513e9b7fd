// Program entry: creates the main window, runs the message loop, and routes
// the window's messages to its handlers.
#include <windows.h>
// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include <cstdint>
#include <exception>
#include <string>

#include "app/Unit1.h"
#include "app/command_line.h"
#include "app/watcher_recovery.h"
#include "platform/win32/about_window.h"
#include "platform/win32/browser.h"
#include "platform/win32/file_log.h"
#include "platform/win32/graphics.h"
#include "platform/win32/main_window.h"
#include "platform/win32/picture_decoder.h"
#include "platform/win32/picture_dialog.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/settings_window.h"
#include "platform/win32/shell.h"
#include "platform/win32/system.h"
#include "platform/win32/tray_menu.h"
#include "platform/win32/watcher.h"
#include "platform/win32/window_manager.h"
#include "render/picture_file.h"
#include "render/texture.h"

namespace {

constexpr const char* kErrorTitle = "RomboDesktop";
// What a restarted shell broadcasts once its notification area is back.
constexpr const char* kTaskbarCreatedMessage = "TaskbarCreated";

app::TForm1* form = nullptr;
platform::win32::Win32MainWindow* mainWindowHost = nullptr;
platform::win32::Win32Watcher* watcher = nullptr;
UINT taskbarCreated = 0;
platform::Log* faultLog = nullptr;

// Errors that no handler catches end up here, those of the tray icon, its
// menu and the dialogs included: shown, and the program runs on. One box at
// a time: while it is open the tray icon keeps reporting (every mouse move
// over it), and an unreadable language file would pile up a box for each.
void ShowError(const std::exception& error) {
  static bool showing = false;
  if (showing) return;
  if (faultLog != nullptr) faultLog->Write(std::string("error shown: ") + error.what());
  showing = true;
  MessageBoxA(nullptr, error.what(), kErrorTitle, MB_OK | MB_ICONERROR);
  showing = false;
}

// A crash while a session has the taskbar hidden would leave it hidden until
// the user logs off. This shows it again at once and lets the crash go on as
// usual; the watcher brings back the rest once the process has gone. It
// runs for a crash on any thread of the process.
LONG WINAPI ShowTaskbarOnCrash(EXCEPTION_POINTERS*) {
  const app::TForm1* crashed = form;
  if (crashed != nullptr && crashed->SessionActive()) {
    const HWND taskbar = FindWindowA(desktops::kTaskbarClass, nullptr);
    if (taskbar != nullptr) SetWindowPos(taskbar, nullptr, 0, 0, 0, 0, desktops::kShowTaskbarFlags);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

// The picture dialog's preview decodes what the cube would show, up to its
// largest side (a photo of 64 megapixels); larger pictures get no preview.
constexpr std::int32_t kPreviewLargestSide = render::kLargestPictureSide;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (form == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  try {
    switch (message) {
      case WM_TIMER:
        if (wParam == platform::win32::Win32MainWindow::kTimerId) form->Timer1Timer();
        return 0;
      case WM_HOTKEY: {
        const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
        form->WMHotKey(static_cast<int>(wParam));
        return result;
      }
      case platform::kTrayCallbackMessage:
        form->WMTrayIcon(static_cast<std::uint32_t>(lParam));
        break;
      case platform::kForegroundChangedMessage:
        form->WMForegroundChanged();
        return 0;
      case platform::kSignalWrittenMessage:
        form->WMSignalWritten();
        return 0;
      case WM_DISPLAYCHANGE:
        form->WMDisplayChange();
        break;
      case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) form->WMDisplayChange();
        break;
      case WM_ERASEBKGND:
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        form->FormPaint();
        EndPaint(window, &paint);
        return 0;
      }
      case WM_MOUSEMOVE:
        form->FormMouseMove();
        return 0;
      case WM_CLOSE:
        form->FormClose();
        PostQuitMessage(0);
        return 0;
      case WM_QUERYENDSESSION:
        form->WMQueryEndSession();
        return TRUE;
      case WM_ENDSESSION:
        // The process may be ended once this returns: end cleanly now. The
        // quit message ends the loop where the system does not end it.
        if (wParam != FALSE) {
          form->FormClose();
          mainWindowHost->Destroy();
          watcher->EndedCleanly();
          PostQuitMessage(0);
        }
        return 0;
      case WM_DESTROY:
        // Any program of the user can send or post it.
        if (!mainWindowHost->Destroying()) return 0;
        form->FormDestroy();
        form = nullptr;
        return 0;
      default:
        if (message == taskbarCreated && taskbarCreated != 0) form->WMTaskbarCreated();
        break;
    }
  } catch (const std::exception& error) {
    ShowError(error);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// DLLs loaded from now on, by the program or by the system on its behalf
// (the file dialog's, the theme's), come from the system folder only, never
// from the program's folder or the current one, where a downloaded DLL could
// stand. Looked up, since a Windows 7 without its update KB2533623 lacks it;
// there the current folder at least is taken out of the search.
void RestrictDllSearch() {
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDirectories == nullptr || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryW(L"");
  }
}

// The watcher's whole run: no window, tray icon or hook; it waits on the
// program's process and, when that ended without saying so, brings back
// what it left.
int RunWatcher(const std::string& commandLine) {
  platform::WatchHandles handles;
  std::vector<platform::WindowHandle> hidden;
  if (!app::ReadWatchCommandLine(commandLine, &handles) ||
      !platform::win32::WaitForUncleanEnd(handles, &hidden)) {
    return 0;
  }
  platform::win32::Win32FileLog log(platform::win32::Win32FileLog::DefaultDirectory());
  platform::win32::Win32WindowManager windows;
  app::RecoverDesktop(windows, hidden, log);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  RestrictDllSearch();
  if (app::AsksToWatch(commandLine)) return RunWatcher(commandLine);
  SetUnhandledExceptionFilter(&ShowTaskbarOnCrash);
  platform::win32::Win32FileLog log(platform::win32::Win32FileLog::DefaultDirectory());
  faultLog = &log;
  // The track bars come from the common controls.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  taskbarCreated = RegisterWindowMessageA(kTaskbarCreatedMessage);

  // OLE's picture objects decode the system's own picture kinds.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HICON icon =
      static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  platform::win32::Win32MainWindow mainWindow(instance, MainWindowProc, icon);
  mainWindowHost = &mainWindow;
  // The shell's broadcast comes from a program of lower rights, which the
  // system's message filter keeps from an elevated one.
  if (taskbarCreated != 0 &&
      !ChangeWindowMessageFilterEx(mainWindow.hwnd(), taskbarCreated, MSGFLT_ALLOW, nullptr)) {
    log.Write("TaskbarCreated could not be let through the message filter", GetLastError());
  }
  platform::win32::Win32WindowManager windows;
  platform::win32::Win32Clock clock;
  platform::win32::Win32FileSystem files;
  platform::win32::Win32ScreenCapture capture;
  platform::win32::Win32Shell shell(icon);
  platform::win32::Win32Graphics graphics(mainWindow.hwnd());
  platform::RegistryStore store;
  platform::win32::Win32PictureDecoder pictures;
  platform::win32::Win32TrayMenu trayMenu;
  platform::win32::Win32Watcher endWatcher;
  platform::Platform system{windows,  mainWindow, clock,    files,    capture, shell,
                            graphics, store,      pictures, trayMenu, log,     endWatcher};

  app::TForm1 form1(system);
  if (app::AsksToGatherWindows(commandLine)) {
    // For the uninstaller: nothing starts (no icon, hook, hotkeys or
    // picture); the windows come onto the screen and the program ends.
    form1.GatherWindows();
    CoUninitialize();
    return 0;
  }
  // Before the start-up picture hides the first window.
  std::uint32_t watcherError = 0;
  if (!endWatcher.Start(app::WatchCommandLine, &watcherError)) {
    log.Write("watcher not started: after a crash parked windows stay parked", watcherError);
  }
  watcher = &endWatcher;
  form = &form1;
  try {
    form1.FormCreate();
  } catch (const std::exception& error) {
    ShowError(error);
  }

  // The dialogs, after the main window, in this order; hidden until asked
  // for and kept until the end.
  platform::win32::Win32SettingsWindow settingsWindow(icon, ShowError);
  render::PictureLoader previewLoader(files, pictures);
  // The picture dialog is modal to the settings dialog that opens it.
  platform::win32::Win32PictureDialog pictureDialog(
      settingsWindow.hwnd(),
      [&previewLoader](const std::string& path, platform::PixelImage* shown) {
        render::Bitmap picture;
        if (!previewLoader.LoadPictureFile(path, &picture, kPreviewLargestSide)) return false;
        shown->width = picture.Width();
        shown->height = picture.Height();
        shown->pixels.assign(picture.Data(), picture.Data() + picture.ByteSize());
        return true;
      });
  settings::TfrmOpciones frmOpciones(settingsWindow, files, pictureDialog);
  frmOpciones.FormCreate();
  platform::win32::Win32AboutWindow aboutWindow(icon, ShowError);
  platform::win32::Win32Browser browser;
  settings::TfrmAcercaDe frmAcercaDe(aboutWindow, browser);
  frmAcercaDe.FormCreate();
  form1.AttachDialogs(frmOpciones, frmAcercaDe);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  KillTimer(mainWindow.hwnd(), platform::win32::Win32MainWindow::kTimerId);
  mainWindow.Destroy();
  endWatcher.EndedCleanly();
  CoUninitialize();
  return 0;
}
