#include "tests/support/mesa/offscreen_graphics.h"

#include <GL/osmesa.h>

namespace platform {

namespace {
constexpr GLint kDepthBits = 16;
constexpr GLint kNoStencil = 0;
constexpr GLint kNoAccumulation = 0;
constexpr int kBytesPerPixel = 4;
}  // namespace

OffscreenGraphics::OffscreenGraphics(std::int32_t width, std::int32_t height)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * kBytesPerPixel) {
}

OffscreenGraphics::~OffscreenGraphics() { DeleteContext(); }

void OffscreenGraphics::CreateContext() {
  if (context_ != nullptr) return;
  OSMesaContext context =
      OSMesaCreateContextExt(OSMESA_BGRA, kDepthBits, kNoStencil, kNoAccumulation, nullptr);
  if (context == nullptr) return;
  context_ = context;
  OSMesaMakeCurrent(context, pixels_.data(), GL_UNSIGNED_BYTE, width_, height_);
}

void OffscreenGraphics::Present() { glFinish(); }

void OffscreenGraphics::DeleteContext() {
  if (context_ == nullptr) return;
  OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
  OSMesaDestroyContext(static_cast<OSMesaContext>(context_));
  context_ = nullptr;
}

std::uint32_t OffscreenGraphics::PixelAt(std::int32_t x, std::int32_t y) const {
  // Mesa's rows run bottom-up, like OpenGL's window coordinates.
  const std::uint8_t* p = pixels_.data() + (static_cast<std::size_t>(height_ - 1 - y) *
                                                static_cast<std::size_t>(width_) +
                                            static_cast<std::size_t>(x)) *
                                               kBytesPerPixel;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16;
}

}  // namespace platform
