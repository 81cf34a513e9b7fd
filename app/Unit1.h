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
//   Unit1.cpp          start-up, shutdown, sign-out, Quit, /gatherwindows
//   hotkeys.cpp        the hotkeys: registering them, what each one starts
//   cube_session.cpp   a session: its start, the ticks, painting, the mouse,
//                      its end, what starts one (foreground, signal file),
//                      and the windows' re-placing after a display change
//   tray_commands.cpp  the tray icon's mouse events, the menu's commands, the
//                      dialogs, the language
//   tray_icon.h        the tray icon (TrayIcon): its retry, balloons and
//                      the desktop's number
#include <cstdint>
#include <string>

#include "app/tray_icon.h"
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

// Hotkey identifiers and their key combinations (the table of them is in
// hotkeys.cpp): a desktop back and on; straight to desktop 1 to 4 (not
// Ctrl+Alt with digits: that is AltGr on many layouts, where it types
// characters); back and on with the active window.
constexpr int kHotkeyLeft = 1;
constexpr int kHotkeyRight = 2;
constexpr int kHotkeyGoTo1 = 11;  // to kHotkeyGoTo1 + 3 for desktop 4
constexpr int kHotkeyCarryLeft = 21;
constexpr int kHotkeyCarryRight = 22;
constexpr std::uint32_t kModAltControl = 0x0001 | 0x0002;  // MOD_ALT | MOD_CONTROL
constexpr std::uint32_t kModShift = 0x0004;                // MOD_SHIFT
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;
constexpr std::uint32_t kVkF1 = 0x70;

// The timer runs only while a session animates, and for one tick after it
// (and after start-up) that looks for a signal file left meanwhile. Between
// sessions the program waits for events: the system reports a new
// foreground window and the mouse hook library reports its signal file, so
// an idle program never wakes up by itself.
constexpr std::uint32_t kSessionTickMs = 1;

// A change of the displays comes as several messages (a dock brings a
// monitor, its mode, then the work area); the windows are re-placed once the
// displays have been still this long.
constexpr std::uint32_t kDisplaysStillMs = 1000;

class TForm1 {
 public:
  explicit TForm1(platform::Platform& system);

  // Start-up, close and shutdown.
  void FormCreate();
  void FormClose();
  void FormDestroy();
  // The session of the user ends (sign-out, restart, shutdown): every window
  // comes home before the other programs save their places.
  void WMQueryEndSession();

  // Window messages and events.
  void WMHotKey(int id);
  void Timer1Timer();
  // Between sessions: the system reports a new foreground window, or the
  // mouse hook library reports that it wrote the signal file. Each runs the
  // tick once, as the timer would have.
  void WMForegroundChanged();
  void WMSignalWritten();
  // A monitor came or went, or a resolution or the work area changed. The
  // windows follow once the displays are still and no session runs.
  void WMDisplayChange();
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

  // What the uninstaller asks for, and what closing does: every window of
  // every desktop onto the screen (desktops::WindowParking::GatherWindows).
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
  // Registers every hotkey and tells the user, once, in one balloon, which
  // of them another program holds; UnregisterHotkeys lets them all go.
  void RegisterHotkeys();
  void UnregisterHotkeys();
  // Straight to a desktop (0 to 3), the short way from the face shown;
  // nothing when the cube is there already or turning to it.
  void GoToDesktop(std::int32_t desktop);
  // A turn that takes the active window along, when it is a managed window
  // on the screen: it and the windows of its family stay where they stand
  // while the others move, and it keeps the keyboard.
  void TurnCarrying(int faces);
  // The tray icon shows the current desktop's number; its tip reads it in
  // the language's words.
  void ShowDesktopNumber();
  // Tells the user, once per start, of the first window that stays on every
  // desktop because its program runs as administrator.
  void ReportImmovableWindow();
  // A message text of the current language, or its default when the
  // language file cannot be read.
  std::string MessageText(const lang::MessageText& text);
  // The table of the named language: its file's, or an empty one (the
  // built-in texts) for a name that would reach outside the program's folder.
  const lang::TLangFile& LanguageTable(const std::string& languageName);
  // Tells the user, once, that the program should not run elevated.
  void ReportElevated();
  bool FollowForeground();
  // The one entry of a switch by a number of faces, for every trigger: when
  // no session is on the screen it opens one and runs its first tick at
  // once, so the turn starts from the current face; then it aims `faces`
  // faces on (back when negative).
  void BeginTurn(int faces);
  // A tick of a running session: the animation advanced, a paint, and the
  // snap to the nearest face unless the left button is held.
  void Animate();
  // Gives the keyboard to `window` and records it as the last foreground
  // window; nothing when there is none.
  void HandOnForeground(platform::WindowHandle window);
  bool PollSignalFile();
  // Re-places the windows for the displays once they have been still long
  // enough; true while it still waits for that, the timer ticking for it.
  bool FollowDisplayChange();
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
  // The displays changed since the windows were last placed for them; when
  // they last did.
  bool displaysChanged = false;
  std::uint32_t displaysChangedClock = 0;
  bool immovableReported = false;
  // A signal file that could not be removed, and when it was written: it
  // opens no session until it is written again.
  bool signalStuck = false;
  std::uint64_t stuckSignalTime = 0;
  TrayIcon trayIcon_;
  lang::LanguageCache language_;
  std::string refusedLanguage_;  // the language name last logged as refused
  settings::TfrmOpciones* frmOpciones = nullptr;
  settings::TfrmAcercaDe* frmAcercaDe = nullptr;
};

}  // namespace app
