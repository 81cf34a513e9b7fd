#pragma once
// Everything the program logic reaches the system through, in one bundle.
#include "platform/graphics.h"
#include "platform/key_value_store.h"
#include "platform/log.h"
#include "platform/main_window.h"
#include "platform/picture_decoder.h"
#include "platform/screen_capture.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/tray_menu.h"
#include "platform/watcher.h"
#include "platform/window_manager.h"

namespace platform {

struct Platform {
  WindowManager& windows;
  MainWindow& mainWindow;
  Clock& clock;
  FileSystem& files;
  ScreenCapture& capture;
  Shell& shell;
  Graphics& graphics;
  KeyValueStore& store;
  // The system's own picture kinds; PNG and JPEG are decoded by the program.
  PictureDecoder& pictures;
  TrayMenu& trayMenu;
  // Where the failures the program survives are recorded.
  Log& log;
  Watcher& watcher;
};

}  // namespace platform
