#pragma once
// The main window: owner of the tray icon, receiver of the hotkeys and, during
// a session, the full-screen window the cube is drawn in. All its state lives
// here; the system is reached only through the platform bundle.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "desktops/window_rules.h"
#include "lang/interface_texts.h"
#include "platform/platform.h"
#include "render/bitmap.h"
#include "render/picture_file.h"
#include "render/texture.h"
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

// Signal file that the mouse hook library drops to ask for the cube.
constexpr const char* kSignalFileName = "rombodesktop.hook";
constexpr std::uint32_t kTempPathBufferLength = 1000;

// The timer runs only while a session animates, and for one tick after it
// (and after start-up) that looks for a signal file left meanwhile. Between
// sessions the program waits for events: the system reports a new
// foreground window and the mouse hook library reports its signal file, so
// an idle program never wakes up by itself.
constexpr std::uint32_t kSessionTickMs = 1;

// Window moves of the taskbar and of the managed windows. They belong to
// other programs, so none is waited for: a program that stops answering
// moves when it answers again and holds up nothing meanwhile.
constexpr std::uint32_t kHideTaskbarFlags = platform::kMoveNoSize | platform::kMoveNoMove |
                                            platform::kMoveNoZOrder | platform::kMoveNoRedraw |
                                            platform::kMoveNoActivate | platform::kMoveHideWindow |
                                            platform::kMoveNoOwnerZOrder | platform::kMoveAsync;
constexpr std::uint32_t kShowTaskbarFlags = platform::kMoveNoSize | platform::kMoveNoMove |
                                            platform::kMoveNoZOrder | platform::kMoveNoActivate |
                                            platform::kMoveShowWindow |
                                            platform::kMoveNoOwnerZOrder | platform::kMoveAsync;
constexpr std::uint32_t kArrangeFlags = platform::kMoveNoSize | platform::kMoveNoZOrder |
                                        platform::kMoveNoActivate | platform::kMoveShowWindow |
                                        platform::kMoveNoOwnerZOrder |
                                        platform::kMoveNoSendChanging | platform::kMoveAsync;
static_assert(kHideTaskbarFlags == 0x429F && kShowTaskbarFlags == 0x4257 &&
              kArrangeFlags == 0x4655);

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
  void mnuTraySalirClick();

  // The cube session.
  void ShowCube();
  void SnapToFace();

  // Managed windows.
  void CollectWindows();
  bool CollectWindowProc(platform::WindowHandle window);
  void SetArrangedDesktop(std::int32_t desktop);
  void ArrangeWindows(std::int32_t desktop);
  // Moves every managed window that stands on another desktop onto the
  // screen, to where it stands while its own desktop is shown: what the
  // uninstaller asks for, so that no window stays parked for good.
  void GatherWindows();

  // The path of the signal file, or empty when it cannot be looked for.
  std::string SignalFilePath();

  // The session start's pictures and textures: the current desktop's
  // screenshot, the side faces whose pictures changed, and after the
  // settings were confirmed the caps and the background.
  void RefreshTextures(std::int32_t screenWidth, std::int32_t screenHeight);

  // The tray icon, its menu and the two dialogs it reaches. The dialogs are
  // created after the main window and attached once they exist.
  void AttachDialogs(settings::TfrmOpciones& opciones, settings::TfrmAcercaDe& acercaDe);
  // The tray icon's notification: texts first, then the menu (right button
  // released) or the settings (double click).
  void WMTrayIcon(std::uint32_t mouseMessage);
  // The shell was restarted and lost every tray icon: add ours again.
  void WMTaskbarCreated();
  // Adds the tray icon, and shows a balloon still waiting for it.
  void ShowTrayIcon();
  void mnuTrayOpcionesClick();
  void mnuTrayAcercaDeClick();
  // Puts the texts of the named language on the menu and both dialogs.
  // Throws lang::LangFileError, before any caption changes, for a language
  // file that cannot be read.
  void ApplyLanguage(const std::string& languageName);
  settings::TfrmOpciones* frmOpciones = nullptr;
  settings::TfrmAcercaDe* frmAcercaDe = nullptr;

  // State, public so that tests and the window host can look at it.
  std::array<render::Bitmap, 4> faceBitmaps;
  std::array<render::FaceTexture, 4> faceTextures;
  render::Bitmap topBitmap;
  render::FaceTexture topTexture;
  render::Bitmap bottomBitmap;
  render::FaceTexture bottomTexture;
  render::Bitmap backgroundBitmap;
  render::FaceTexture backgroundTexture;
  // The default cap picture, held with the window and never changed.
  render::Bitmap imgDefault;
  render::TextureCaps textureCaps;

  std::int32_t lastCursorX = 0;
  std::int32_t lastCursorY = 0;
  float shownPitch = 0;
  float shownYaw = 0;
  float targetPitch = 0;
  float targetYaw = 0;
  float shownZoomOut = 0;
  float targetZoomOut = 0;
  bool mouseTurning = false;
  std::int32_t currentDesktop = 0;
  std::int32_t arrangedDesktop = 0;
  platform::WindowHandle progmanWindow = platform::kNoWindow;
  platform::WindowHandle trayWindow = platform::kNoWindow;
  bool sessionActive = false;
  bool imagesDirty = true;
  std::vector<platform::WindowHandle> managedWindows;
  settings::Settings settings;
  platform::WindowHandle lastForeground = platform::kNoWindow;
  // Time up to which the animation has been advanced.
  std::uint32_t animationClock = 0;
  // The notification area shows the icon; when it was last tried.
  bool trayIconShown = false;
  std::uint32_t trayRetryClock = 0;
  // A balloon for the tray icon that waits for the icon to be there.
  std::string pendingBalloon;

 private:
  void ShowTaskbar(bool show);
  void RetryTrayIcon();
  void ShowPendingBalloon();
  // Tells the user, once, which hotkeys another program holds.
  void ReportTakenHotkeys(bool leftTaken, bool rightTaken);
  // A message text of the current language, or its default when the
  // language file cannot be read.
  std::string MessageText(const lang::MessageText& text);
  std::string LanguageFileName(const std::string& languageName);
  bool FollowForeground();
  // Gives the keyboard to the window it belongs to on the desktop shown
  // (desktops::KeyboardWindow) and records that as the last foreground window.
  void HandOnForeground(const std::vector<desktops::PlacedWindow>& placed,
                        const desktops::ShellWindows& shell);
  // The windows that take part in switching, where they stand now.
  std::vector<desktops::PlacedWindow> WindowsAsTheyStand(const desktops::ShellWindows& shell);
  bool PollSignalFile();
  void Ease();
  void ReleaseTextures();

  platform::Platform& system_;
  render::PictureLoader pictures_;
  // Where the last arrangement put the managed windows, topmost first.
  std::vector<desktops::PlacedWindow> arranged_;
};

}  // namespace app
