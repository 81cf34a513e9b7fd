#include "tests/support/fake/fake_desktop.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <utility>

namespace platform {

FakeDesktop::FakeDesktop(std::int32_t width, std::int32_t height)
    : screenWidth(width), screenHeight(height), gl_(kFrameWidth, kFrameHeight) {
  mainHandle_ = AddWindow("TForm1", Rect{0, 0, 0, 0}, false);
}

FakeDesktop::FakeDesktop(std::int32_t width, std::int32_t height, FullFrame)
    : screenWidth(width), screenHeight(height), gl_(width, height) {
  mainHandle_ = AddWindow("TForm1", Rect{0, 0, 0, 0}, false);
}

WindowHandle FakeDesktop::AddWindow(const std::string& className, Rect rect, bool visible,
                                    std::uint32_t exStyle) {
  FakeWindow window;
  window.handle = nextHandle_++;
  window.className = className;
  window.rect = rect;
  window.visible = visible;
  window.exStyle = exStyle;
  windows_.push_back(window);
  return window.handle;
}

FakeWindow* FakeDesktop::Find(WindowHandle handle) {
  for (FakeWindow& window : windows_) {
    if (window.handle == handle && !window.closed) return &window;
  }
  return nullptr;
}

FakeWindow& FakeDesktop::Window(WindowHandle handle) {
  for (FakeWindow& window : windows_) {
    if (window.handle == handle) return window;
  }
  throw std::out_of_range("no such fake window");
}

Platform FakeDesktop::Bundle(KeyValueStore& store) {
  return Platform{*this, *this, *this, *this,    *this,    *this,
                  *this, store, *this, trayMenu, faultLog, *this};
}

namespace {
// Window classes compare without regard to case.
bool SameClass(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

Rect MovedTo(const Rect& rect, std::int32_t x, std::int32_t y) {
  return Rect{x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
}
}  // namespace

WindowHandle FakeDesktop::FindByClass(const std::string& className) {
  for (const FakeWindow& window : windows_) {
    if (!window.closed && SameClass(window.className, className)) return window.handle;
  }
  return kNoWindow;
}

bool FakeDesktop::IsMinimised(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr && found->minimised;
}

bool FakeDesktop::IsOfClass(WindowHandle window, const std::string& className) {
  const FakeWindow* found = Find(window);
  return found != nullptr && SameClass(found->className, className);
}

bool FakeDesktop::HasChildOfClass(WindowHandle window, const std::string& className) {
  const FakeWindow* found = Find(window);
  return found != nullptr &&
         std::any_of(found->childClasses.begin(), found->childClasses.end(),
                     [&](const std::string& child) { return SameClass(child, className); });
}

bool FakeDesktop::IsCloaked(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr && found->cloaked;
}

bool FakeDesktop::RunsAboveOwnIntegrity(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr && found->aboveOwnIntegrity;
}

std::string FakeDesktop::Title(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr ? found->title : "";
}

void FakeDesktop::EnumerateTopLevel(const std::function<bool(WindowHandle)>& visit) {
  std::vector<WindowHandle> handles;
  for (const FakeWindow& window : windows_) {
    if (!window.closed) handles.push_back(window.handle);
  }
  for (WindowHandle handle : handles) {
    if (!visit(handle)) return;
  }
}

bool FakeDesktop::IsVisible(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr && found->visible;
}

std::uint32_t FakeDesktop::ExtendedStyle(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr ? found->exStyle : 0;
}

bool FakeDesktop::GetRect(WindowHandle window, Rect* rect) {
  const FakeWindow* found = Find(window);
  if (found == nullptr) return false;
  *rect = found->rect;
  return true;
}

bool FakeDesktop::Move(WindowHandle window, std::int32_t x, std::int32_t y, std::uint32_t flags) {
  moves.push_back(FakeMove{window, x, y, flags});
  log.push_back("move " + std::to_string(window) + " " + std::to_string(x) + " " +
                std::to_string(y) + " " + std::to_string(flags));
  FakeWindow* found = Find(window);
  if (found == nullptr || found->refusesMoves || found->aboveOwnIntegrity) return false;
  if ((flags & kMoveNoMove) == 0) found->rect = MovedTo(found->rect, x, y);
  if ((flags & kMoveShowWindow) != 0) found->visible = true;
  if ((flags & kMoveHideWindow) != 0) {
    found->visible = false;
    ForegroundLeaves(window);
  }
  return true;
}

bool FakeDesktop::GetRestoreRect(WindowHandle window, Rect* rect) {
  const FakeWindow* found = Find(window);
  if (found == nullptr) return false;
  *rect = found->minimised ? found->restoreRect : found->rect;
  return true;
}

bool FakeDesktop::MoveRestoreRect(WindowHandle window, std::int32_t x, std::int32_t y) {
  log.push_back("restore at " + std::to_string(window) + " " + std::to_string(x) + " " +
                std::to_string(y));
  FakeWindow* found = Find(window);
  if (found == nullptr || found->refusesMoves) return false;
  found->restoreRect = MovedTo(found->restoreRect, x, y);
  return true;
}

WindowHandle FakeDesktop::Owner(WindowHandle window) {
  const FakeWindow* found = Find(window);
  return found != nullptr ? found->owner : kNoWindow;
}

WindowHandle FakeDesktop::Foreground() {
  ++foregroundQueries;
  return foreground;
}

void FakeDesktop::Activate(WindowHandle window) {
  log.push_back("activate " + std::to_string(window));
  if (window == kRootWindow || Find(window) != nullptr) foreground = window;
}

void FakeDesktop::UseMonitors(std::vector<Monitor> all) {
  monitors = std::move(all);
  for (Monitor& monitor : monitors) monitor.primary = &monitor == &monitors.front();
  screenWidth = monitors.front().area.right - monitors.front().area.left;
  screenHeight = monitors.front().area.bottom - monitors.front().area.top;
}

std::vector<Monitor> FakeDesktop::Monitors() {
  if (!monitors.empty()) return monitors;
  const Rect screen{0, 0, screenWidth, screenHeight};
  return {Monitor{screen, screen, true}};
}

Rect FakeDesktop::VirtualScreen() {
  const std::vector<Monitor> all = Monitors();
  Rect box = all.front().area;
  for (const Monitor& monitor : all) {
    box.left = std::min(box.left, monitor.area.left);
    box.top = std::min(box.top, monitor.area.top);
    box.right = std::max(box.right, monitor.area.right);
    box.bottom = std::max(box.bottom, monitor.area.bottom);
  }
  return box;
}

void FakeDesktop::PutCursor(std::int32_t x, std::int32_t y) { cursor = Point{x, y}; }

void FakeDesktop::Place(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  Window(mainHandle_).rect = Rect{x, y, x + width, y + height};
}

void FakeDesktop::ShowOnTop() {
  log.push_back("cube.show");
  Window(mainHandle_).visible = true;
  if (foreground != mainHandle_) foregroundBeforeShow_ = foreground;
  foreground = mainHandle_;
}

void FakeDesktop::Hide() {
  log.push_back("cube.hide");
  Window(mainHandle_).visible = false;
  ForegroundLeaves(mainHandle_);
}

void FakeDesktop::ForegroundLeaves(WindowHandle hidden) {
  if (foreground != hidden) return;
  // As the system does, hiding the active window activates another: for the
  // cube, the one active before it if it is still there; else the topmost
  // visible window.
  foreground = kNoWindow;
  if (hidden == mainHandle_ && IsVisible(foregroundBeforeShow_)) {
    foreground = foregroundBeforeShow_;
    return;
  }
  for (const FakeWindow& other : windows_) {
    if (!other.closed && other.visible) {
      foreground = other.handle;
      return;
    }
  }
}

void FakeDesktop::Repaint() {
  ++paints;
  if (onPaint) onPaint();
}

void FakeDesktop::Close() {
  log.push_back("close");
  if (onClose) onClose();
}

void FakeDesktop::SetTickInterval(std::uint32_t milliseconds) {
  log.push_back("timer " + std::to_string(milliseconds));
  tickInterval = milliseconds;
}

void FakeDesktop::StopTicks() {
  log.push_back("timer off");
  tickInterval = 0;
}

void FakeDesktop::Sleep(std::uint32_t milliseconds) {
  log.push_back("sleep " + std::to_string(milliseconds));
  tick += milliseconds;
}

std::uint32_t FakeDesktop::TempPath(std::uint32_t bufferLength, char* buffer) {
  if (tempPathOverride) return tempPathOverride(bufferLength, buffer);
  const auto length = static_cast<std::uint32_t>(tempPath.size());
  if (length + 1 > bufferLength) return length + 1;
  std::memcpy(buffer, tempPath.c_str(), length + 1);
  return length;
}

bool FakeDesktop::FileExists(const std::string& path) {
  ++fileChecks;
  return files.count(path) != 0;
}

FileStamp FakeDesktop::Stamp(const std::string& path) {
  FileStamp stamp;
  if (files.count(path) == 0) return stamp;
  stamp.exists = true;
  const auto found = contents.find(path);
  if (found == contents.end()) return stamp;
  stamp.size = found->second.size();
  stamp.writeTime =
      std::hash<std::string>()(std::string(found->second.begin(), found->second.end()));
  return stamp;
}

bool FakeDesktop::RemoveFile(const std::string& path) {
  if (undeletable.count(path) != 0) return false;
  return files.erase(path) != 0;
}

bool FakeDesktop::WriteTime(const std::string& path, std::uint64_t* time) {
  if (files.count(path) == 0) return false;
  const auto written = writeTimes.find(path);
  *time = written == writeTimes.end() ? 0 : written->second;
  return true;
}

FileRead FakeDesktop::ReadWholeFile(const std::string& path, std::size_t maxBytes, bool,
                                    std::vector<std::uint8_t>* data) {
  ++fileReads;
  data->clear();
  if (files.count(path) == 0) return FileRead::kMissing;
  if (locked.count(path) != 0) return FileRead::kCannotOpen;
  const auto found = contents.find(path);
  if (found == contents.end()) return FileRead::kOk;
  if (found->second.size() > maxBytes) return FileRead::kTooLarge;
  *data = found->second;
  return FileRead::kOk;
}

namespace {
char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Wildcard match as the system does it for file names: '*' any run, '?' one
// character, letters compared without regard to case.
bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*')
    return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
  if (*name == '\0') return false;
  if (*pattern != '?' && Lower(*pattern) != Lower(*name)) return false;
  return Matches(pattern + 1, name + 1);
}
}  // namespace

std::vector<std::string> FakeDesktop::FindFiles(const std::string& pattern) {
  const std::size_t cut = pattern.find_last_of('\\');
  const std::string directory = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
  const std::string glob = pattern.substr(directory.size());
  std::vector<std::string> names;
  for (const std::set<std::string>* entries : {&files, &directories}) {
    for (const std::string& path : *entries) {
      if (path.size() <= directory.size() || path.compare(0, directory.size(), directory) != 0) {
        continue;
      }
      const std::string name = path.substr(directory.size());
      if (name.find('\\') == std::string::npos && Matches(glob.c_str(), name.c_str())) {
        names.push_back(name);
      }
    }
  }
  const auto rank = [this](const std::string& name) {
    return std::find(listingOrder.begin(), listingOrder.end(), name) - listingOrder.begin();
  };
  std::stable_sort(names.begin(), names.end(),
                   [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
  return names;
}

void FakeDesktop::CaptureScreen(std::int32_t width, std::int32_t height, bool includeLayered,
                                std::uint8_t* pixels) {
  if (onCapture) onCapture();
  ++captures;
  log.push_back(std::string("capture ") + std::to_string(width) + "x" + std::to_string(height) +
                (includeLayered ? " layered" : ""));
  const std::size_t bytes =
      static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kBytesPerPixel;
  std::memset(pixels, captures, bytes);
}

bool FakeDesktop::AddTrayIcon(WindowHandle) {
  log.push_back("tray.add");
  if (taskbarReady) trayIconShown = true;
  return trayIconShown;
}

void FakeDesktop::RemoveTrayIcon() {
  log.push_back("tray.remove");
  trayIconShown = false;
}

PixelImage FakeDesktop::TrayIconPicture() {
  PixelImage picture;
  picture.width = picture.height = kTrayIconSide;
  for (std::int32_t i = 0; i < kTrayIconSide * kTrayIconSide; ++i) {
    for (std::int32_t byte = 0; byte < kBytesPerPixel; ++byte) {
      picture.pixels.push_back(static_cast<std::uint8_t>(kTrayIconColour >> (8 * byte)));
    }
  }
  return picture;
}

bool FakeDesktop::SetTrayIcon(const PixelImage& picture, const std::string& tip) {
  trayPicture = picture;
  trayTip = tip;
  ++trayIconChanges;
  return !trayIconRefused;
}

bool FakeDesktop::ShowTrayBalloon(const std::string& text) {
  log.push_back("tray.balloon " + text);
  return trayIconShown;
}

bool FakeDesktop::RegisterHotKey(WindowHandle, int id, std::uint32_t modifiers,
                                 std::uint32_t virtualKey) {
  log.push_back("hotkey.register " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                std::to_string(virtualKey));
  constexpr std::uint32_t kCtrlAlt = 0x0001 | 0x0002;
  if ((modifiers == kCtrlAlt && keysHeldElsewhere.count(virtualKey) != 0) ||
      combinationsHeldElsewhere.count({modifiers, virtualKey}) != 0) {
    return false;
  }
  return hotkeys.insert(id).second;
}

void FakeDesktop::UnregisterHotKey(WindowHandle, int id) {
  log.push_back("hotkey.unregister " + std::to_string(id));
  hotkeys.erase(id);
}

void FakeDesktop::InstallMouseHook(WindowHandle) { log.push_back("hook.install"); }
void FakeDesktop::UninstallMouseHook() { log.push_back("hook.uninstall"); }
void FakeDesktop::WatchForeground(WindowHandle) { log.push_back("foreground.watch"); }
void FakeDesktop::StopWatchingForeground() { log.push_back("foreground.unwatch"); }
void FakeDesktop::WatchSignalFile(WindowHandle, const std::string& path) {
  log.push_back("signal.watch " + path);
}
void FakeDesktop::StopWatchingSignalFile() { log.push_back("signal.unwatch"); }

void FakeDesktop::LoadLibraries() { log.push_back("gl.load"); }
void FakeDesktop::SetUpPixelFormat() { log.push_back("gl.pixelformat"); }
void FakeDesktop::CreateContext() {
  log.push_back("gl.context");
  gl_.CreateContext();
}
void FakeDesktop::Present() {
  ++presents;
  gl_.Present();
}
void FakeDesktop::DeleteContext() {
  log.push_back("gl.delete");
  if (onDeleteContext) onDeleteContext();
  gl_.DeleteContext();
}

std::unique_ptr<Picture> FakeDesktop::Open(const std::uint8_t*, std::size_t, std::int32_t) {
  ++systemPictureOpens;
  return nullptr;
}

bool FakeDesktop::DefaultCapPicture(std::int32_t* width, std::int32_t* height,
                                    std::vector<std::uint8_t>* pixels) {
  if (!hasDefaultCap) return false;
  *width = *height = kDefaultCapSide;
  pixels->resize(static_cast<std::size_t>(kDefaultCapSide) * kDefaultCapSide * kBytesPerPixel);
  for (std::int32_t row = 0; row < kDefaultCapSide; ++row) {
    const std::int32_t y = kDefaultCapSide - 1 - row;  // bottom-up
    for (std::int32_t x = 0; x < kDefaultCapSide; ++x) {
      std::uint8_t* p =
          pixels->data() + (static_cast<std::size_t>(row) * kDefaultCapSide + x) * kBytesPerPixel;
      p[0] = 0x80;
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x);
      p[3] = 0;
    }
  }
  return true;
}

void FakeDesktop::HidingForPicture(const std::vector<WindowHandle>& windows) {
  watchedHidden = windows;
}

void FakeDesktop::ShownAgain() { watchedHidden.clear(); }

}  // namespace platform
