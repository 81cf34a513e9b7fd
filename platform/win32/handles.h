#pragma once
// Owners for the Windows handles the program holds, so every early return
// gives them back.
#include <windows.h>

#include <cstdint>

namespace platform::win32 {

// A device context obtained from a window (GetDC / GetWindowDC), released to
// that window.
class WindowDc {
 public:
  WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Owns one handle of a kind and gives it back with the kind's own call, on
// every path; moves, never copies. `Kind` names the handle type, the value
// that means none, and the call that closes it.
template <class Kind>
class Owned {
 public:
  using Handle = typename Kind::Handle;

  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { reset(); }
  Owned(Owned&& other) noexcept : handle_(other.release()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  bool valid() const { return Kind::Valid(handle_); }
  explicit operator bool() const { return valid(); }
  Handle release() {
    const Handle handle = handle_;
    handle_ = Kind::None();
    return handle;
  }
  void reset(Handle handle = Kind::None()) {
    if (valid()) Kind::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Kind::None();
};

// The kinds of handle the program owns. Most report failure as null; the
// kernel's files and searches as INVALID_HANDLE_VALUE.
template <class H, auto close>
struct NullIsNone {
  using Handle = H;
  static Handle None() { return nullptr; }
  static bool Valid(Handle handle) { return handle != nullptr; }
  static void Close(Handle handle) { close(handle); }
};
template <auto close>
struct InvalidIsNone {
  using Handle = HANDLE;
  static Handle None() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void Close(Handle handle) { close(handle); }
};

// A memory device context (CreateCompatibleDC).
using MemoryDc = Owned<NullIsNone<HDC, &DeleteDC>>;
// A GDI object (bitmap, brush, ...).
using GdiObject = Owned<NullIsNone<HGDIOBJ, &DeleteObject>>;
// An icon made at run time (CreateIconIndirect).
using Icon = Owned<NullIsNone<HICON, &DestroyIcon>>;
// A kernel object: a file (CreateFile), an event or a thread.
using KernelHandle = Owned<InvalidIsNone<&CloseHandle>>;
// A directory search (FindFirstFile).
using FindHandle = Owned<InvalidIsNone<&FindClose>>;
// A watch on a directory (FindFirstChangeNotification).
using ChangeWatch = Owned<InvalidIsNone<&FindCloseChangeNotification>>;
// A library loaded at run time (LoadLibrary).
using Library = Owned<NullIsNone<HMODULE, &FreeLibrary>>;
// An opened registry key. Predefined roots such as HKEY_CURRENT_USER are
// never wrapped, so they are never closed.
using RegKey = Owned<NullIsNone<HKEY, &RegCloseKey>>;

// Selects an object into a device context for the lifetime of the guard and
// puts the previous one back, so the object can then be deleted.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~Selection() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// The description of a picture as the program holds it: 32 bits a pixel
// (blue, green, red, unused), rows bottom-up.
inline BITMAPINFO BottomUpPixels(LONG width, LONG height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A section of such pixels that GDI can draw into; *bits receives them.
inline HBITMAP CreatePixelSection(HDC like, LONG width, LONG height, void** bits) {
  const BITMAPINFO info = BottomUpPixels(width, height);
  return CreateDIBSection(like, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

inline HWND ToHwnd(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }
inline std::uintptr_t FromHwnd(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

}  // namespace platform::win32
