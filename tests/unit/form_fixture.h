#pragma once
// A fake 1024 x 768 desktop with the shell's two windows, for tests of the
// parts that work on windows; and a started main window on it, for tests of
// the program logic as a whole.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Unit1.h"
#include "platform/shell.h"
#include "render/frame.h"
#include "settings/settings_store.h"
#include "tests/support/fake/fake_desktop.h"
#include "tests/support/fake/fake_store.h"

class DesktopTest : public testing::Test {
 protected:
  static constexpr std::int32_t kWidth = 1024;
  static constexpr std::int32_t kHeight = 768;
  // The layout of its one monitor.
  static constexpr desktops::Span kSpan{0, kWidth};

  DesktopTest()
      : desktop(kWidth, kHeight),
        shellWindow(desktop.AddWindow("Progman", platform::Rect{0, 0, kWidth, kHeight})),
        taskbar(desktop.AddWindow("Shell_TrayWnd", platform::Rect{0, 738, kWidth, kHeight})) {}

  std::int32_t LeftOf(platform::WindowHandle window) { return desktop.Window(window).rect.left; }

  // A window move as the fake desktop logs it.
  static std::string MoveEntry(platform::WindowHandle window, std::int32_t x, std::int32_t y,
                               std::uint32_t flags) {
    return "move " + std::to_string(window) + " " + std::to_string(x) + " " + std::to_string(y) +
           " " + std::to_string(flags);
  }

  platform::FakeDesktop desktop;
  platform::WindowHandle shellWindow;
  platform::WindowHandle taskbar;
};

class FormTest : public DesktopTest {
 protected:
  FormTest() : system(desktop.Bundle(store)), form(system) {
    desktop.onPaint = [this] { form.FormPaint(); };
    // One log for the store and the desktop, so the order across them shows.
    store.set_event_log(&desktop.log);
  }

  // Starts the program; windows added before this stand on desktop 0.
  void Start() {
    form.FormCreate();
    desktop.log.clear();
    desktop.moves.clear();
  }

  // Starts the program with these settings in the store, as a user who set
  // them in an earlier run.
  void Start(const settings::Settings& stored) {
    settings::SaveSettings(store, stored);
    Start();
  }

  // The system's timer fires once, as it does only while the program has it
  // set: a session whose start does not set it running never moves. Says
  // whether it fired.
  bool TimerTick() {
    if (desktop.tickInterval == 0) return false;
    form.Timer1Timer();
    return true;
  }

  // Runs timer ticks, the clock advancing `stepMs` before each, until the
  // session has ended or the timer stopped; returns how many ticks it took.
  int RunUntilHidden(std::uint32_t stepMs = 10, int limit = 100000) {
    int ticks = 0;
    while (form.SessionActive() && ticks < limit) {
      desktop.tick += stepMs;
      if (!TimerTick()) break;
      ++ticks;
    }
    return ticks;
  }

  // The user picks a window (on the taskbar, say): between sessions the
  // system reports it, during one the timer's next tick notices it.
  void UserActivates(platform::WindowHandle window) {
    desktop.foreground = window;
    if (form.SessionActive()) {
      TimerTick();
    } else {
      form.WMForegroundChanged();
    }
  }

  // Where the mouse hook library drops its signal file.
  std::string SignalFile() { return desktop.tempPath + platform::kSignalFileName; }

  // The picture a frame of the form's textures seen with this camera and
  // these angles gives, drawn by the renderer alone.
  std::vector<std::uint8_t> ReferenceFrame(float pullBack, float pitch, float yaw,
                                           bool capsSwapped = false) {
    const render::FaceSet& faces = form.Faces();
    render::BeginFrame(pullBack);
    render::OrientBox(pitch, yaw);
    render::DrawBox(faces.FaceTextures(), capsSwapped ? faces.BottomTexture() : faces.TopTexture(),
                    capsSwapped ? faces.TopTexture() : faces.BottomTexture(), kWidth);
    render::DrawBackground(pitch, yaw, faces.BackgroundTexture());
    desktop.gl().Present();
    return desktop.gl().Pixels();
  }

  platform::FakeStore store;
  platform::Platform system;
  app::TForm1 form;
};
