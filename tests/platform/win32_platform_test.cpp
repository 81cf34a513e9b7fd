// The Win32 window manager, files and screen capture against the real
// system (under Wine on the test machines).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/file_log.h"
#include "platform/win32/handles.h"
#include "platform/win32/shell.h"
#include "platform/win32/system.h"
#include "platform/win32/window_manager.h"

namespace {

using platform::win32::FromHwnd;

// A plain top-level window filled with one colour, destroyed with the object.
class TestWindow {
 public:
  TestWindow(const char* title, int x, int y, int width, int height, COLORREF colour,
             DWORD exStyle = 0)
      : brush_(CreateSolidBrush(colour)) {
    static const char* kClass = "RomboPlatformTestWindow";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);  // fails harmlessly after the first time
    window_ = CreateWindowExA(exStyle, kClass, title, WS_POPUP | WS_VISIBLE, x, y, width, height,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetClassLongPtrA(window_, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_.get()));
    InvalidateRect(window_, nullptr, TRUE);
    Pump();
  }
  ~TestWindow() { DestroyWindow(window_); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND hwnd() const { return window_; }
  platform::WindowHandle handle() const { return FromHwnd(window_); }

  static void Pump() {
    MSG message;
    for (int round = 0; round < 20; ++round) {
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      Sleep(10);
    }
  }

 private:
  platform::win32::GdiObject brush_;
  HWND window_ = nullptr;
};

TEST(Win32WindowManagerTest, MovesWindowsOffScreenAndReadsThemBack) {
  platform::win32::Win32WindowManager windows;
  TestWindow window("mover", 100, 120, 200, 150, RGB(0, 128, 0));
  const std::int32_t w = windows.ScreenWidth();
  ASSERT_GT(w, 0);
  for (std::int32_t x : {-924, 2048, 3000, -w, 3 * w, 100}) {
    ASSERT_TRUE(windows.Move(window.handle(), x, 120, 0x0655)) << x;
    platform::Rect rect;
    ASSERT_TRUE(windows.GetRect(window.handle(), &rect));
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, 120);
    EXPECT_EQ(rect.right - rect.left, 200);
    EXPECT_TRUE(windows.IsVisible(window.handle()));
  }
}

TEST(Win32WindowManagerTest, EnumeratesAndTellsLayeredAndClosedWindows) {
  platform::win32::Win32WindowManager windows;
  TestWindow plain("plain", 10, 10, 50, 50, RGB(1, 2, 3));
  TestWindow layered("layered", 70, 10, 50, 50, RGB(1, 2, 3), WS_EX_LAYERED);
  std::vector<platform::WindowHandle> seen;
  windows.EnumerateTopLevel([&](platform::WindowHandle h) {
    seen.push_back(h);
    return true;
  });
  EXPECT_NE(std::find(seen.begin(), seen.end(), plain.handle()), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), layered.handle()), seen.end());
  EXPECT_EQ(windows.ExtendedStyle(plain.handle()) & 0x80000u, 0u);
  EXPECT_NE(windows.ExtendedStyle(layered.handle()) & 0x80000u, 0u);

  // The visitor can stop the enumeration.
  int visits = 0;
  windows.EnumerateTopLevel([&](platform::WindowHandle) { return ++visits < 2; });
  EXPECT_EQ(visits, 2);

  HWND gone = nullptr;
  {
    TestWindow shortLived("gone", 10, 70, 50, 50, RGB(0, 0, 0));
    gone = shortLived.hwnd();
  }
  platform::Rect rect;
  EXPECT_FALSE(windows.GetRect(FromHwnd(gone), &rect));
  EXPECT_FALSE(windows.Move(FromHwnd(gone), 0, 0, 0x0655));
  EXPECT_FALSE(windows.IsVisible(FromHwnd(gone)));
}

TEST(Win32WindowManagerTest, HidesShowsActivatesAndTellsClassesAndStates) {
  platform::win32::Win32WindowManager windows;
  TestWindow window("shown", 10, 10, 50, 50, RGB(9, 9, 9));
  TestWindow other("other", 70, 10, 50, 50, RGB(9, 9, 9));
  constexpr std::uint32_t kKeep = platform::kMoveNoSize | platform::kMoveNoMove |
                                  platform::kMoveNoZOrder | platform::kMoveNoActivate |
                                  platform::kMoveAsync;
  windows.Move(window.handle(), 0, 0, kKeep | platform::kMoveHideWindow);
  EXPECT_FALSE(windows.IsVisible(window.handle()));
  windows.Move(window.handle(), 0, 0, kKeep | platform::kMoveShowWindow);
  EXPECT_TRUE(windows.IsVisible(window.handle()));

  windows.Activate(other.handle());
  EXPECT_EQ(windows.Foreground(), other.handle());
  windows.Activate(window.handle());
  EXPECT_EQ(windows.Foreground(), window.handle());

  ShowWindow(other.hwnd(), SW_MINIMIZE);
  EXPECT_TRUE(windows.IsMinimised(other.handle()));
  EXPECT_FALSE(windows.IsMinimised(window.handle()));
  // Nothing is cloaked where no compositor keeps windows off screen.
  EXPECT_FALSE(windows.IsCloaked(window.handle()));

  // Class names compare without regard to case.
  EXPECT_NE(windows.FindByClass("ROMBOPLATFORMTESTWINDOW"), platform::kNoWindow);
  EXPECT_EQ(windows.FindByClass("no such class at all"), platform::kNoWindow);
  EXPECT_TRUE(windows.IsOfClass(window.handle(), "romboPlatformTestWindow"));
  EXPECT_FALSE(windows.IsOfClass(window.handle(), "RomboPlatformTestWindo"));
  const HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, window.hwnd(), nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
  EXPECT_TRUE(windows.HasChildOfClass(window.handle(), "static"));
  EXPECT_FALSE(windows.HasChildOfClass(other.handle(), "static"));
  DestroyWindow(child);
}

// A minimised window's restore rectangle, read in screen coordinates and moved
// without restoring or activating the window.
TEST(Win32WindowManagerTest, MovesWhereAMinimisedWindowComesBack) {
  platform::win32::Win32WindowManager windows;
  TestWindow window("minimised", 100, 120, 200, 150, RGB(0, 0, 128));
  TestWindow active("active", 10, 10, 50, 50, RGB(9, 9, 9));
  const std::int32_t w = windows.ScreenWidth();
  ASSERT_TRUE(windows.Move(window.handle(), 2 * w + 100, 120, 0x0655));
  ShowWindow(window.hwnd(), SW_SHOWMINNOACTIVE);
  windows.Activate(active.handle());
  ASSERT_TRUE(windows.IsMinimised(window.handle()));
  platform::Rect restore;
  ASSERT_TRUE(windows.GetRestoreRect(window.handle(), &restore));
  EXPECT_EQ(restore.left, 2 * w + 100);
  EXPECT_EQ(restore.top, 120);
  EXPECT_EQ(restore.right - restore.left, 200);

  ASSERT_TRUE(windows.MoveRestoreRect(window.handle(), 100, 120));
  TestWindow::Pump();
  EXPECT_TRUE(windows.IsMinimised(window.handle()));
  EXPECT_EQ(windows.Foreground(), active.handle());
  ShowWindow(window.hwnd(), SW_RESTORE);
  platform::Rect shown;
  ASSERT_TRUE(windows.GetRect(window.handle(), &shown));
  EXPECT_EQ(shown.left, 100);
  EXPECT_EQ(shown.top, 120);
  EXPECT_EQ(shown.right - shown.left, 200);
}

TEST(Win32WindowManagerTest, PutsTheCursor) {
  platform::win32::Win32WindowManager windows;
  windows.PutCursor(33, 44);
  const platform::Point p = windows.CursorPos();
  EXPECT_EQ(p.x, 33);
  EXPECT_EQ(p.y, 44);
}

TEST(Win32ScreenCaptureTest, CapturesWhatIsShownBottomUp) {
  platform::win32::Win32WindowManager windows;
  platform::win32::Win32ScreenCapture capture;
  TestWindow red("red", 0, 0, 64, 32, RGB(255, 0, 0), WS_EX_TOPMOST);
  TestWindow blue("blue", 0, 32, 64, 32, RGB(0, 0, 255), WS_EX_TOPMOST);
  const int width = 64;
  const int height = 64;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4, 0x7F);
  capture.CaptureScreen(width, height, true, pixels.data());
  // Row 0 of the buffer is the bottom row of the screen area: blue.
  auto pixel = [&](int x, int rowFromBottom) {
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(rowFromBottom) * width + x) * 4];
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_EQ(pixel(10, 5), RGB(0, 0, 255));
  EXPECT_EQ(pixel(10, 60), RGB(255, 0, 0));
}

TEST(Win32ShellTest, AddsTheTrayIconOnceAndShowsABalloonFromIt) {
  TestWindow owner("tray owner", 0, 0, 10, 10, RGB(0, 0, 0));
  platform::win32::Win32Shell shell(LoadIcon(nullptr, IDI_APPLICATION));
  EXPECT_TRUE(shell.AddTrayIcon(owner.handle()));
  // Already there, as after a retry that met a taskbar which had it: still
  // there, and no second icon.
  EXPECT_TRUE(shell.AddTrayIcon(owner.handle()));
  EXPECT_TRUE(shell.ShowTrayBalloon("Caf\xE9 %s"));
  shell.RemoveTrayIcon();
  NOTIFYICONDATAA record{};
  record.cbSize = platform::win32::kTrayRecordSize;
  record.hWnd = owner.hwnd();
  record.uID = platform::win32::kTrayIconId;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &record)) << "a second icon was left";
  EXPECT_FALSE(shell.ShowTrayBalloon("no icon"));
}

// The icon's picture at the small-icon size with its opacity read back, and
// the icon changed again and again, before and after it is there. (Wine
// counts no GDI or USER objects for GetGuiResources; the soak counts them
// from the process's GDI table.)
TEST(Win32ShellTest, DrawsAndChangesTheTrayIcon) {
  TestWindow owner("tray owner", 0, 0, 10, 10, RGB(0, 0, 0));
  platform::win32::Win32Shell shell(LoadIcon(nullptr, IDI_APPLICATION));
  platform::PixelImage picture = shell.TrayIconPicture();
  ASSERT_EQ(picture.width, GetSystemMetrics(SM_CXSMICON));
  ASSERT_EQ(picture.height, picture.width);
  int opaque = 0;
  for (std::size_t i = 3; i < picture.pixels.size(); i += 4) opaque += picture.pixels[i] == 0xFF;
  EXPECT_GT(opaque, 0);
  EXPECT_LT(opaque, picture.width * picture.height) << "the icon's transparent corners";
  EXPECT_TRUE(shell.SetTrayIcon(picture, "before the icon is there"));
  ASSERT_TRUE(shell.AddTrayIcon(owner.handle()));
  for (int i = 0; i < 100; ++i) {
    picture = shell.TrayIconPicture();
    EXPECT_TRUE(shell.SetTrayIcon(picture, "RomboDesktop - desktop " + std::to_string(i % 4)));
  }
  EXPECT_FALSE(shell.SetTrayIcon(platform::PixelImage{}, "no picture"));
  shell.RemoveTrayIcon();
}

// Counts the messages of one kind that reach a window within a time.
int MessagesWithin(HWND window, UINT message, DWORD milliseconds) {
  int count = 0;
  const DWORD start = GetTickCount();
  MSG received;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageA(&received, window, message, message, PM_REMOVE)) ++count;
    Sleep(10);
  }
  return count;
}

// The signal file is seen when it comes, whoever put it there; other files
// of its directory tell the window nothing, and a stopped watch tells it
// nothing more.
TEST(Win32ShellTest, TellsTheWindowWhenTheSignalFileIsThere) {
  TestWindow owner("signal owner", 0, 0, 10, 10, RGB(0, 0, 0));
  char temp[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string directory = std::string(temp) + "rombo-watch-test\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string signal = directory + "rombodesktop.hook";
  const std::string other = directory + "other.tmp";
  platform::win32::Win32Shell shell(LoadIcon(nullptr, IDI_APPLICATION));
  shell.WatchSignalFile(owner.handle(), signal);
  auto make = [](const std::string& path) {
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  };

  make(other);
  EXPECT_EQ(MessagesWithin(owner.hwnd(), platform::kSignalWrittenMessage, 300), 0);
  make(signal);
  EXPECT_GE(MessagesWithin(owner.hwnd(), platform::kSignalWrittenMessage, 1000), 1);
  DeleteFileA(signal.c_str());
  MessagesWithin(owner.hwnd(), platform::kSignalWrittenMessage, 100);
  shell.StopWatchingSignalFile();
  make(signal);
  EXPECT_EQ(MessagesWithin(owner.hwnd(), platform::kSignalWrittenMessage, 300), 0);

  DeleteFileA(signal.c_str());
  DeleteFileA(other.c_str());
  RemoveDirectoryA(directory.c_str());
}

TEST(Win32FileSystemTest, TempPathFilesAndTheTooSmallBuffer) {
  platform::win32::Win32FileSystem files;
  char buffer[1000];
  const std::uint32_t length = files.TempPath(sizeof(buffer), buffer);
  ASSERT_GT(length, 0u);
  ASSERT_LT(length, sizeof(buffer));
  const std::string directory(buffer, length);
  EXPECT_EQ(directory.back(), '\\');
  // Where the system's own ANSI answer names the directory, it is that.
  char system[1000];
  ASSERT_EQ(GetTempPathA(sizeof(system), system), length);
  EXPECT_EQ(directory, std::string(system, length));

  char tiny[2] = {'#', '#'};
  EXPECT_EQ(files.TempPath(sizeof(tiny), tiny), length + 1);  // the size it needs

  const std::string path = directory + "rombo-platform-test.tmp";
  DeleteFileA(path.c_str());
  EXPECT_FALSE(files.FileExists(path));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(files.FileExists(path));
  EXPECT_TRUE(files.RemoveFile(path));
  EXPECT_FALSE(files.FileExists(path));
  EXPECT_FALSE(files.RemoveFile(path));
  // A directory is not a file.
  EXPECT_FALSE(files.FileExists(directory.substr(0, directory.size() - 1)));
}

// Points this process's temporary directory elsewhere for one test.
class TempDirectoryOverride {
 public:
  explicit TempDirectoryOverride(const std::wstring& directory) {
    wchar_t old[MAX_PATH] = L"";
    hadOld_ = GetEnvironmentVariableW(L"TMP", old, MAX_PATH) > 0;
    old_ = old;
    SetEnvironmentVariableW(L"TMP", directory.c_str());
  }
  ~TempDirectoryOverride() { SetEnvironmentVariableW(L"TMP", hadOld_ ? old_.c_str() : nullptr); }
  TempDirectoryOverride(const TempDirectoryOverride&) = delete;
  TempDirectoryOverride& operator=(const TempDirectoryOverride&) = delete;

 private:
  bool hadOld_ = false;
  std::wstring old_;
};

TEST(Win32FileSystemTest, TempPathReachesADirectoryWhoseNameTheCodePageCannotSpell) {
  wchar_t base[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, base), 0u);
  // Greek letters have no spelling in Windows-1252, as a profile name in
  // another script has none in a Western code page.
  const std::wstring directory = std::wstring(base) + L"\u03a9\u03bc\u03ad\u03b3\u03b1\\";
  ASSERT_TRUE(CreateDirectoryW(directory.c_str(), nullptr) ||
              GetLastError() == ERROR_ALREADY_EXISTS);
  const std::wstring signal = directory + L"rombodesktop.hook";
  HANDLE file = CreateFileW(signal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  {
    const TempDirectoryOverride temp(directory);
    platform::win32::Win32FileSystem files;
    char buffer[1000];
    const std::uint32_t length = files.TempPath(sizeof(buffer), buffer);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof(buffer));
    const std::string path = std::string(buffer, length) + "rombodesktop.hook";
    EXPECT_TRUE(files.FileExists(path)) << path << " (code page " << GetACP() << ")";
    EXPECT_TRUE(files.RemoveFile(path));
    // The system's own ANSI answer names no such directory.
    char system[1000];
    const DWORD systemLength = GetTempPathA(sizeof(system), system);
    EXPECT_FALSE(files.FileExists(std::string(system, systemLength) + "rombodesktop.hook"));
  }
  EXPECT_EQ(GetFileAttributesW(signal.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(signal.c_str());
  RemoveDirectoryW(directory.c_str());
}

// A scratch folder under the temporary directory, removed with its files.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& name) {
    char buffer[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    path_ = std::string(buffer, length) + name + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchDir() {
    for (const std::string& file : made_) {
      DeleteFileA(file.c_str());
      RemoveDirectoryA(file.c_str());
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string file = path_ + name;
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    made_.push_back(file);
    return file;
  }
  std::string Folder(const std::string& name) {
    const std::string folder = path_ + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    made_.push_back(folder);
    return folder;
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> made_;
};

TEST(Win32FileSystemTest, ReadsWholeFilesAndTellsWhyNot) {
  platform::win32::Win32FileSystem files;
  ScratchDir scratch("rombo-read-test");
  const std::string text = scratch.Write("text.lang", std::string("a\0b\r\nc", 6));
  const std::string empty = scratch.Write("empty.png", "");
  const std::string folder = scratch.Folder("folder.png");
  std::vector<std::uint8_t> data{1, 2, 3};

  EXPECT_EQ(files.ReadWholeFile(text, 100, true, &data), platform::FileRead::kOk);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{'a', 0, 'b', '\r', '\n', 'c'}));
  EXPECT_EQ(files.ReadWholeFile(empty, 100, false, &data), platform::FileRead::kOk);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(files.ReadWholeFile(text, 5, false, &data), platform::FileRead::kTooLarge);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(files.ReadWholeFile(text, 6, false, &data), platform::FileRead::kOk);
  EXPECT_EQ(files.ReadWholeFile(scratch.path() + "absent.lang", 100, false, &data),
            platform::FileRead::kMissing);
  EXPECT_EQ(files.ReadWholeFile(folder, 100, false, &data), platform::FileRead::kMissing);

  // Held open by someone who shares reading: a shared read works, an
  // exclusive one cannot open it. Held without sharing: neither can.
  HANDLE sharing = CreateFileA(text.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.ReadWholeFile(text, 100, false, &data), platform::FileRead::kOk);
  EXPECT_EQ(files.ReadWholeFile(text, 100, true, &data), platform::FileRead::kCannotOpen);
  CloseHandle(sharing);
  HANDLE locking = CreateFileA(text.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locking, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.ReadWholeFile(text, 100, false, &data), platform::FileRead::kCannotOpen);
  CloseHandle(locking);
}

TEST(Win32FileSystemTest, FindsEntriesByPatternAndKnowsItsOwnDirectory) {
  platform::win32::Win32FileSystem files;
  ScratchDir scratch("rombo-find-test");
  scratch.Write("English.lang", "");
  scratch.Write("My.Language.lang", "");
  scratch.Write("Readme.lang.txt", "");
  scratch.Folder("Folder.lang");
  std::vector<std::string> found = files.FindFiles(scratch.path() + "*.lang");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"English.lang", "Folder.lang", "My.Language.lang"}));
  EXPECT_TRUE(files.FindFiles(scratch.path() + "*.none").empty());

  const std::string directory = files.ExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '\\');
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(std::string(self, length).rfind(directory, 0), 0u);
  EXPECT_EQ(std::string(self, length).find('\\', directory.size()), std::string::npos);
}

// Whole contents of a file, empty if it cannot be read.
std::string ReadText(const std::string& path) {
  std::vector<std::uint8_t> data;
  platform::win32::Win32FileSystem files;
  files.ReadWholeFile(path, 1u << 20, false, &data);
  return std::string(data.begin(), data.end());
}

TEST(Win32FileLogTest, KeepsTwoBoundedFilesWithTheSystemsText) {
  ScratchDir scratch("rombo-log-test");
  const std::string current = scratch.path() + platform::win32::Win32FileLog::kFileName;
  const std::string older = scratch.path() + platform::win32::Win32FileLog::kOlderFileName;
  {
    platform::win32::Win32FileLog log(scratch.path());
    log.Write("could not move window 0x1234", ERROR_ACCESS_DENIED);
    const std::string first = ReadText(current);
    EXPECT_NE(first.find("could not move window 0x1234 (error 5: "), std::string::npos) << first;
    EXPECT_EQ(first.find('\n'), first.size() - 1) << "one line, ended once";

    // Past the bound of one file: the first line moves to the older file, and
    // neither file passes the bound, however many lines come.
    const std::string filler(1000, 'x');
    for (int i = 0; i < 600; ++i) log.Write(filler + " " + std::to_string(i));
  }
  const std::string now = ReadText(current);
  const std::string before = ReadText(older);
  EXPECT_LE(now.size(), platform::kLogFileLimit);
  EXPECT_LE(before.size(), platform::kLogFileLimit);
  EXPECT_GT(before.size() + now.size(), platform::kLogFileLimit) << "the older file is kept";
  EXPECT_NE(now.find(" 599\r\n"), std::string::npos) << "the last line is in the current file";
  EXPECT_EQ(before.find("0x1234"), std::string::npos) << "the oldest lines are gone";
  // A name the file system cannot make leaves only the debugger's copy.
  platform::win32::Win32FileLog nowhere(scratch.path() + "missing\\folder\\");
  nowhere.Write("still runs");
  DeleteFileA(current.c_str());
  DeleteFileA(older.c_str());
}

}  // namespace
