#include "platform/win32/graphics.h"

#include <delayimp.h>

#include <cstdint>
#include <string>

namespace platform::win32 {

namespace {
constexpr BYTE kColorBits = 32;
constexpr BYTE kDepthBits = 16;

// Double-buffered RGBA with a depth buffer and nothing else: no
// accumulation, stencil or auxiliary buffers, main layer.
PIXELFORMATDESCRIPTOR PixelFormatRequest() {
  PIXELFORMATDESCRIPTOR request{};
  request.nSize = sizeof(request);
  request.nVersion = 1;
  request.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  request.iPixelType = PFD_TYPE_RGBA;
  request.cColorBits = kColorBits;
  request.cDepthBits = kDepthBits;
  return request;
}
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40);

constexpr const char* kOpenGlLibrary = "opengl32.dll";
constexpr const char* kGluLibrary = "glu32.dll";

}  // namespace

// The delay-import descriptors of the two libraries (cmake/delay_import.cmake
// names them), and the toolchain's helper that binds one import.
extern "C" const ImgDelayDescr openGlImports asm("__DELAY_IMPORT_DESCRIPTOR_libopengl32_delay_a");
extern "C" const ImgDelayDescr gluImports asm("__DELAY_IMPORT_DESCRIPTOR_libglu32_delay_a");
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

template <typename T>
T* InImage(const ImgDelayDescr& descriptor, RVA at) {
  const auto base = reinterpret_cast<std::uintptr_t>(&__ImageBase);
  return reinterpret_cast<T*>((descriptor.grAttrs & dlattrRva) != 0 ? base + at : at);
}

// By full path from the system folder, never from the program's own; then
// every delay-loaded import of it is bound at once. Bound one by one at its
// first call, a function would get its floating-point arguments through the
// toolchain's x86_64 thunk, which does not keep them.
void LoadSystemLibrary(const char* name, const ImgDelayDescr& imports) {
  std::string path(MAX_PATH, '\0');
  const UINT length = GetSystemDirectoryA(path.data(), static_cast<UINT>(path.size()));
  if (length == 0 || length >= path.size()) return;
  path.resize(length);
  if (LoadLibraryA((path + "\\" + name).c_str()) == nullptr) return;
  auto* entry = InImage<FARPROC>(imports, imports.rvaIAT);
  for (auto* named = InImage<const IMAGE_THUNK_DATA>(imports, imports.rvaINT);
       named->u1.AddressOfData != 0; ++named, ++entry) {
    __delayLoadHelper2(&imports, entry);
  }
}

}  // namespace

Win32Graphics::Win32Graphics(HWND window) : dc_(window, GetDC(window)) {}

Win32Graphics::~Win32Graphics() { DeleteContext(); }

void Win32Graphics::LoadLibraries() {
  // Kept loaded for the whole run.
  LoadSystemLibrary(kOpenGlLibrary, openGlImports);
  LoadSystemLibrary(kGluLibrary, gluImports);
}

void Win32Graphics::SetUpPixelFormat() {
  const PIXELFORMATDESCRIPTOR request = PixelFormatRequest();
  const int format = ChoosePixelFormat(dc_.get(), &request);
  SetPixelFormat(dc_.get(), format, &request);
}

void Win32Graphics::CreateContext() {
  glContext_ = wglCreateContext(dc_.get());
  wglMakeCurrent(dc_.get(), glContext_);
}

void Win32Graphics::Present() { SwapBuffers(dc_.get()); }

void Win32Graphics::DeleteContext() {
  if (glContext_ == nullptr) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(glContext_);
  glContext_ = nullptr;
}

}  // namespace platform::win32
