#include "platform/win32/graphics.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace platform::win32 {

namespace {
constexpr BYTE kColorBits = 32;
constexpr BYTE kDepthBits = 16;
// A vertical field of view whose half-angle tangent is just over 0.75, so a
// face 1.5 high seen from distance 1 fills the window.
constexpr GLdouble kFieldOfView = 73.75;
constexpr GLdouble kAspect = 4.0 / 3.0;
constexpr GLdouble kNear = 0.1;
constexpr GLdouble kFar = 100.0;
constexpr GLfloat kRestDistance = 2.0f;

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

void Win32Graphics::EnableDepthAndTexturing() {
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_TEXTURE_2D);
}

void Win32Graphics::SetViewport(std::int32_t width, std::int32_t height) {
  glViewport(0, 0, width, height);
}

void Win32Graphics::BeginFrame(float pullBack) {
  glClear(GL_DEPTH_BUFFER_BIT);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(kFieldOfView, kAspect, kNear, kFar);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -kRestDistance - pullBack);
}

void Win32Graphics::OrientBox(float pitch, float yaw) {
  glRotatef(pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(yaw, 0.0f, 1.0f, 0.0f);
}

void Win32Graphics::Present() { SwapBuffers(dc_.get()); }

void Win32Graphics::DeleteContext() {
  if (glContext_ == nullptr) return;
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(glContext_);
  glContext_ = nullptr;
}

}  // namespace platform::win32
