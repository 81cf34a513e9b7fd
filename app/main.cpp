// Program entry: creates the main window, runs the message loop, and routes
// the window's messages to its handlers.
#include <windows.h>

#include <exception>

#include "app/Unit1.h"
#include "platform/win32/graphics.h"
#include "platform/win32/main_window.h"
#include "platform/win32/picture_decoder.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/shell.h"
#include "platform/win32/system.h"
#include "platform/win32/window_manager.h"

namespace {

constexpr UINT kMenuQuit = 1;
constexpr const char* kErrorTitle = "RomboDesktop";

app::TForm1* form = nullptr;

// Errors that no handler catches end up here: shown, and the program runs on.
void ShowError(const std::exception& error) {
  MessageBoxA(nullptr, error.what(), kErrorTitle, MB_OK | MB_ICONERROR);
}

void OnTrayIcon(HWND window, LPARAM mouseMessage) {
  if (mouseMessage != WM_RBUTTONUP) return;
  POINT at{0, 0};
  GetCursorPos(&at);
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendMenuA(menu, MF_STRING, kMenuQuit, "&Quit");
  // Without this the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(window);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  if (chosen == kMenuQuit) form->mnuTraySalirClick();
}

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
        OnTrayIcon(window, lParam);
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
      case WM_ENDSESSION:
        // The process is ended after this returns; let go of everything now.
        if (wParam != FALSE) {
          form->FormClose();
          DestroyWindow(window);
        }
        return 0;
      case WM_DESTROY:
        form->FormDestroy();
        form = nullptr;
        return 0;
      default:
        break;
    }
  } catch (const std::exception& error) {
    ShowError(error);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // OLE's picture objects decode the system's own picture kinds.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const HICON icon =
      static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  platform::win32::Win32MainWindow mainWindow(instance, MainWindowProc, icon);
  platform::win32::Win32WindowManager windows;
  platform::win32::Win32Clock clock;
  platform::win32::Win32FileSystem files;
  platform::win32::Win32ScreenCapture capture;
  platform::win32::Win32Shell shell(icon);
  platform::win32::Win32Graphics graphics(mainWindow.hwnd());
  platform::RegistryStore store;
  platform::win32::Win32PictureDecoder pictures;
  platform::Platform system{windows, mainWindow, clock, files,   capture,
                            shell,   graphics,   store, pictures};

  app::TForm1 form1(system);
  form = &form1;
  try {
    form1.FormCreate();
  } catch (const std::exception& error) {
    ShowError(error);
  }

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  KillTimer(mainWindow.hwnd(), platform::win32::Win32MainWindow::kTimerId);
  mainWindow.Destroy();
  CoUninitialize();
  return 0;
}
