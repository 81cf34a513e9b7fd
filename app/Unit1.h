#pragma once
// The main window: owner of the tray icon, receiver of the hotkeys and,
// during a session, the full-screen window the cube is drawn in. Its handlers
// are short calls into three parts it owns: the cube's motion, the parking of
// the desktops' windows and the set of faces. The system is reached only
// through the platform bundle.
//
// The names are those of the program's first, form-based releases, kept so
// that its history reads across: `Unit1` is the main form's unit, `TForm1`
// the form, `Timer1Timer` its timer's handler, `FormCreate`/`FormClose`/
// `FormDestroy`/`FormPaint`/`FormMouseMove` the form's events, and the tray
// menu's handlers are named after its Spanish items: `Opciones` (settings),
// `AcercaDe` (about), `Salir` (quit). `frmOpciones` and `frmAcercaDe` are the
// settings and about dialogs (`settings/Unit2.h`, `settings/Unit3.h`).
//
// The handlers live by topic:
//   Unit1.cpp          start-up, shutdown, hotkeys, Quit, /gatherwindows
//   cube_session.cpp   a session: its start, the ticks, painting, the mouse,
//                      its end, and what starts one (foreground, signal file)
//   tray_commands.cpp  the tray icon's mouse events, the menu's commands, the
//                      dialogs, the language
//   tray_icon.cpp      showing the tray icon, its retry and balloons
#include <cstdint>
#include <string>

#include "desktops/cube_motion.h"
#include "desktops/window_parking.h"
#include "lang/interface_texts.h"
#include "lang/language_cache.h"
#include "platform/platform.h"
#include "render/face_set.h"
#include "settings/Unit2.h"
#include "settings/Unit3.h"
#include "settings/settings_store.h"

namespace app {

// Hotkey identifiers and their key combinations.
constexpr int kHotkeyLeft = 1;
constexpr int kHotkeyRight = 2;
constexpr std::uint32_t kModAltControl = 0x0001 | 0x0002;  // MOD_ALT | MOD_CONTROL
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;

// While the taskbar is not there to take the tray icon (at sign-in it may
// come up after the program), adding the icon is tried again this often.
constexpr std::uint32_t kTrayRetryMs = 1000;

// The timer runs only while a session animates, and for one tick after it
// (and after start-up) that looks for a signal file left meanwhile. Between
// sessions the program waits for events: the system reports a new
// foreground window and the mouse hook library reports its signal file, so
// an idle program never wakes up by itself.
constexpr std::uint32_t kSessionTickMs = 1;

class TForm1 {
 public:
  explicit TForm1(platform::Platform& system);

  // Start-up, close and shutdown.
  void FormCreate();
  void FormClose();
  void FormDestroy();

  // Window messages and events.
  void WMHotKey(int id);
  void Timer1Timer();
  // Between sessions: the system reports a new foreground window, or the
  // mouse hook library reports that it wrote the signal file. Each runs the
  // tick once, as the timer would have.
  void WMForegroundChanged();
  void WMSignalWritten();
  void FormPaint();
  void FormMouseMove();

  // The cube session.
  void ShowCube();
  void SnapToFace();

  // The tray icon, its menu and the two dialogs it reaches. The dialogs are
  // created after the main window and attached once they exist.
  void AttachDialogs(settings::TfrmOpciones& opciones, settings::TfrmAcercaDe& acercaDe);
  // The tray icon's notification: texts first, then the menu (right button
  // released) or the settings (double click).
  void WMTrayIcon(std::uint32_t mouseMessage);
  // The shell was restarted and lost every tray icon: add ours again.
  void WMTaskbarCreated();
  void mnuTrayOpcionesClick();
  void mnuTrayAcercaDeClick();
  void mnuTraySalirClick();
  // Puts the texts of the named language on the menu and both dialogs.
  // Throws lang::LangFileError, before any caption changes, for a language
  // file that cannot be read.
  void ApplyLanguage(const std::string& languageName);

  // What the uninstaller asks for: every window of every desktop onto the
  // screen (desktops::WindowParking::GatherWindows).
  void GatherWindows();

  // Read-only views, for the window host and for tests.
  bool SessionActive() const { return sessionActive; }
  bool ImagesDirty() const { return imagesDirty; }
  platform::WindowHandle LastForeground() const { return lastForeground; }
  const settings::Settings& Settings() const { return settings; }
  const desktops::CubeMotion& Motion() const { return motion_; }
  const desktops::WindowParking& Parking() const { return parking_; }
  const render::FaceSet& Faces() const { return faces_; }

 private:
  // Adds the tray icon, and shows a balloon still waiting for it.
  void ShowTrayIcon();
  void RetryTrayIcon();
  void ShowPendingBalloon();
  // Tells the user, once, which hotkeys another program holds.
  void ReportTakenHotkeys(bool leftTaken, bool rightTaken);
  // Tells the user, once, that the program should not run elevated.
  void ReportElevated();
  // Queues a balloon's text, after one still waiting, and shows them.
  void QueueBalloon(const std::string& text);
  // A message text of the current language, or its default when the
  // language file cannot be read.
  std::string MessageText(const lang::MessageText& text);
  // The table of the named language: its file's, or an empty one (the
  // built-in texts) for a name that would reach outside the program's folder.
  const lang::TLangFile& LanguageTable(const std::string& languageName);
  bool FollowForeground();
  // Gives the keyboard to `window` and records it as the last foreground
  // window; nothing when there is none.
  void HandOnForeground(platform::WindowHandle window);
  bool PollSignalFile();
  // Ends the session: taskbar, windows and keyboard in place, cube hidden.
  void EndSession();

  platform::Platform& system_;
  desktops::CubeMotion motion_;
  desktops::WindowParking parking_;
  render::FaceSet faces_;
  settings::Settings settings;
  bool sessionActive = false;
  bool imagesDirty = true;
  platform::WindowHandle lastForeground = platform::kNoWindow;
  // The notification area shows the icon; when it was last tried.
  bool trayIconShown = false;
  std::uint32_t trayRetryClock = 0;
  // A balloon for the tray icon that waits for the icon to be there.
  std::string pendingBalloon;
  lang::LanguageCache language_;
  std::string refusedLanguage_;  // the language name last logged as refused
  settings::TfrmOpciones* frmOpciones = nullptr;
  settings::TfrmAcercaDe* frmAcercaDe = nullptr;
};

}  // namespace app
