#pragma once
// A desktop in memory for unit tests of the program logic: top-level windows
// with rectangles and styles, a screen, a cursor, a clock, files, and a log
// of every call that reaches the shell or the context, and of every window
// move, in order. Its rendering context is a real one, drawing off screen
// through Mesa.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tests/support/fake/fake_log.h"
#include "tests/support/fake/fake_tray_menu.h"
#include "tests/support/mesa/offscreen_graphics.h"

namespace platform {

struct FakeWindow {
  WindowHandle handle = kNoWindow;
  std::string className;
  Rect rect;
  bool visible = true;
  std::uint32_t exStyle = 0;
  bool closed = false;
  bool minimised = false;
  // Where a minimised window comes back; `rect` is then its icon's.
  Rect restoreRect;
  bool cloaked = false;
  // Its moves fail (a window of a program with higher rights).
  bool refusesMoves = false;
  // Its process runs as administrator: it says so, and its moves fail.
  bool aboveOwnIntegrity = false;
  std::string title;
  std::vector<std::string> childClasses;
  WindowHandle owner = kNoWindow;
};

struct FakeMove {
  WindowHandle window;
  std::int32_t x;
  std::int32_t y;
  std::uint32_t flags;
};

class FakeDesktop : public WindowManager,
                    public MainWindow,
                    public Clock,
                    public FileSystem,
                    public ScreenCapture,
                    public Shell,
                    public Graphics,
                    public PictureDecoder,
                    public Watcher {
 public:
  // The off-screen picture is small: logic tests look at the angles and
  // textures, not at the pixels of a whole screen.
  static constexpr std::int32_t kFrameWidth = 128;
  static constexpr std::int32_t kFrameHeight = 96;
  static constexpr std::int32_t kDefaultCapSide = 256;
  // The root window: no window of the list, but it can take the keyboard.
  static constexpr WindowHandle kRootWindow = 1;

  // A frame as large as the screen, for measuring what a real one costs.
  struct FullFrame {};

  FakeDesktop(std::int32_t width = 1024, std::int32_t height = 768);
  FakeDesktop(std::int32_t width, std::int32_t height, FullFrame);

  // Adds a top-level window below all others; returns its handle.
  WindowHandle AddWindow(const std::string& className, Rect rect, bool visible = true,
                         std::uint32_t exStyle = 0);
  FakeWindow& Window(WindowHandle handle);
  Platform Bundle(KeyValueStore& store);

  // Scripted state. Without `monitors` there is one, the primary, of
  // screenWidth x screenHeight at the origin, its work area all of it.
  std::int32_t screenWidth;
  std::int32_t screenHeight;
  std::vector<Monitor> monitors;
  // Sets the monitors, the first the primary, and the primary's size.
  void UseMonitors(std::vector<Monitor> all);
  std::uint32_t tick = 0;
  Point cursor;
  bool leftDown = false;
  WindowHandle foreground = kNoWindow;
  // Existing files; `contents` holds what reading one gives (empty if not
  // set), `locked` ones exist but cannot be opened.
  std::set<std::string> files;
  std::map<std::string, std::vector<std::uint8_t>> contents;
  std::set<std::string> locked;
  std::set<std::string> directories;
  std::set<std::string> undeletable;
  // What LastError answers: the code of a refused move or removal.
  std::uint32_t lastError = 0;
  // When each file was last written; 0 for one not listed.
  std::map<std::string, std::uint64_t> writeTimes;
  // The order a directory listing gives names in (as the file system keeps
  // them, not sorted); names not in it come last, sorted.
  std::vector<std::string> listingOrder;
  FakeTrayMenu trayMenu;
  // The record of survived failures the program keeps (not the call log).
  FakeLog faultLog;
  // Whether a taskbar takes notification icons yet, and whether it shows
  // ours. Balloons are logged as "tray.balloon <text>".
  bool taskbarReady = true;
  bool trayIconShown = false;
  // Virtual keys whose Ctrl+Alt combination another program holds, and
  // other combinations it holds (modifiers, key).
  std::set<std::uint32_t> keysHeldElsewhere;
  // The program runs with administrator rights.
  bool elevated = false;
  std::set<std::pair<std::uint32_t, std::uint32_t>> combinationsHeldElsewhere;
  // The tray icon's picture as TrayIconPicture gives it (kTrayIconSide
  // square, kTrayIconColour), and what SetTrayIcon last made of the icon:
  // kept, not logged, and counted.
  static constexpr std::int32_t kTrayIconSide = 16;
  static constexpr std::uint32_t kTrayIconColour = 0xFF5B1FA8;
  PixelImage trayPicture;
  std::string trayTip;
  int trayIconChanges = 0;
  // SetTrayIcon fails (a picture the system would not take).
  bool trayIconRefused = false;
  std::string executableDirectory = "C:\\Program Files\\RomboDesktop\\";
  std::string tempPath = "C:\\Temp\\";
  // When set, replaces TempPath's behaviour.
  std::function<std::uint32_t(std::uint32_t, char*)> tempPathOverride;
  // Runs on Repaint; tests point it at the form's paint handler.
  std::function<void()> onPaint;
  // Runs on Close; tests point it at the form's close path.
  std::function<void()> onClose;
  // Runs on CaptureScreen before it draws; a test may throw from it.
  std::function<void()> onCapture;
  // Runs just before the rendering context is deleted, while it is current.
  std::function<void()> onDeleteContext;

  // What happened. Window moves are logged as "move <window> <x> <y> <flags>".
  std::vector<std::string> log;
  std::vector<FakeMove> moves;
  std::set<int> hotkeys;
  int paints = 0;
  std::uint32_t tickInterval = 0;
  int captures = 0;
  int fileChecks = 0;
  int foregroundQueries = 0;
  int presents = 0;
  int fileReads = 0;
  int systemPictureOpens = 0;
  // The default cap picture: pixel (x, y) is 0x00xxyy80 (blue 0x80).
  bool hasDefaultCap = true;

  OffscreenGraphics& gl() { return gl_; }

  // WindowManager
  WindowHandle FindByClass(const std::string& className) override;
  void EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) override;
  bool IsVisible(WindowHandle window) override;
  std::uint32_t ExtendedStyle(WindowHandle window) override;
  bool GetRect(WindowHandle window, Rect* rect) override;
  bool IsMinimised(WindowHandle window) override;
  bool IsOfClass(WindowHandle window, const std::string& className) override;
  bool HasChildOfClass(WindowHandle window, const std::string& className) override;
  bool IsCloaked(WindowHandle window) override;
  bool RunsAboveOwnIntegrity(WindowHandle window) override;
  std::string Title(WindowHandle window) override;
  bool Move(WindowHandle window, std::int32_t x, std::int32_t y, std::uint32_t flags) override;
  bool GetRestoreRect(WindowHandle window, Rect* rect) override;
  bool MoveRestoreRect(WindowHandle window, std::int32_t x, std::int32_t y) override;
  WindowHandle Owner(WindowHandle window) override;
  WindowHandle Foreground() override;
  WindowHandle RootWindow() override { return kRootWindow; }
  // Logged as "activate <window>".
  void Activate(WindowHandle window) override;
  std::int32_t ScreenWidth() override { return screenWidth; }
  std::int32_t ScreenHeight() override { return screenHeight; }
  // The bounding box of the monitors.
  Rect VirtualScreen() override;
  std::vector<Monitor> Monitors() override;
  Point CursorPos() override { return cursor; }
  void PutCursor(std::int32_t x, std::int32_t y) override;
  bool LeftButtonDown() override { return leftDown; }

  // MainWindow
  WindowHandle Handle() override { return mainHandle_; }
  void Place(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
  void ShowOnTop() override;
  void Hide() override;
  bool IsVisible() override { return IsVisible(mainHandle_); }
  void Repaint() override;
  void Close() override;
  void SetTickInterval(std::uint32_t milliseconds) override;
  // Logged as "timer off"; the interval reads 0 then.
  void StopTicks() override;
  bool DefaultCapPicture(std::int32_t* width, std::int32_t* height,
                         std::vector<std::uint8_t>* pixels) override;

  // Clock
  std::uint32_t TickCount() override { return tick; }
  void Sleep(std::uint32_t milliseconds) override;

  // FileSystem
  std::uint32_t TempPath(std::uint32_t bufferLength, char* buffer) override;
  bool FileExists(const std::string& path) override;
  // The write time is a digest of the content, so every change shows.
  FileStamp Stamp(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  // WindowManager and FileSystem alike: `lastError`.
  std::uint32_t LastError() override { return lastError; }
  bool WriteTime(const std::string& path, std::uint64_t* time) override;
  FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, bool exclusive,
                         std::vector<std::uint8_t>* data) override;
  std::vector<std::string> FindFiles(const std::string& pattern) override;
  std::string ExecutableDirectory() override { return executableDirectory; }

  // ScreenCapture: fills every pixel with the number of the capture.
  void CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                     std::uint8_t* pixels) override;

  // Shell
  bool AddTrayIcon(WindowHandle owner) override;
  void RemoveTrayIcon() override;
  PixelImage TrayIconPicture() override;
  bool SetTrayIcon(const PixelImage& picture, const std::string& tip) override;
  bool ShowTrayBalloon(const std::string& text) override;
  bool RunsElevated() override { return elevated; }
  bool RegisterHotKey(WindowHandle owner, int id, std::uint32_t modifiers,
                      std::uint32_t virtualKey) override;
  void UnregisterHotKey(WindowHandle owner, int id) override;
  void InstallMouseHook(WindowHandle owner) override;
  void UninstallMouseHook() override;
  void WatchForeground(WindowHandle owner) override;
  void StopWatchingForeground() override;
  // Logged as "signal.watch <path>" and "signal.unwatch".
  void WatchSignalFile(WindowHandle owner, const std::string& path) override;
  void StopWatchingSignalFile() override;

  // Graphics
  void LoadLibraries() override;
  void SetUpPixelFormat() override;
  void CreateContext() override;
  void Present() override;
  void DeleteContext() override;

  // Watcher: keeps the windows it was told of in `watchedHidden`.
  void HidingForPicture(const std::vector<WindowHandle>& windows) override;
  void ShownAgain() override;
  std::vector<WindowHandle> watchedHidden;

  // PictureDecoder: the system's own picture kinds do not exist here.
  std::unique_ptr<Picture> Open(const std::uint8_t* bytes, std::size_t size,
                                std::int32_t maxSide) override;

 private:
  FakeWindow* Find(WindowHandle handle);
  // The foreground window was hidden: the system activates another.
  void ForegroundLeaves(WindowHandle hidden);

  std::vector<FakeWindow> windows_;  // z-order, topmost first
  WindowHandle nextHandle_ = 0x100;
  WindowHandle mainHandle_;
  OffscreenGraphics gl_;
  // Active before the cube window took the foreground; it gets it back.
  WindowHandle foregroundBeforeShow_ = kNoWindow;
};

}  // namespace platform
