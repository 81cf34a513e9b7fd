#include "platform/win32/graphics.h"

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
static_assert((PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER) == 0x25);
}  // namespace

Win32Graphics::Win32Graphics(HWND window) : dc_(window, GetDC(window)) {}

Win32Graphics::~Win32Graphics() { DeleteContext(); }

void Win32Graphics::LoadLibraries() {
  // Bound by name and kept loaded for the whole run.
  LoadLibraryA("OpenGL32.dll");
  LoadLibraryA("GLU32.dll");
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
