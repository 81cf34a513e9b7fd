// The real OpenGL of the system (Mesa under Wine) through the window's own
// context: a frame of the cube at rest shows the current face over the whole
// window, and the textures and pictures the program makes reach it.
#include <windows.h>

#include "platform/win32/graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/win32/main_window.h"
#include "render/frame.h"
#include "render/gl.h"
#include "render/texture.h"
#include "tests/common/colours.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

// Red grows to the right, green downwards; blue tells the face.
render::Bitmap Gradient(std::uint8_t tag) {
  render::Bitmap picture;
  picture.SetSize(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      picture.SetPixel(x, y,
                       static_cast<std::uint32_t>(x * 255 / (kWidth - 1)) << 16 |
                           static_cast<std::uint32_t>(y * 255 / (kHeight - 1)) << 8 | tag);
    }
  }
  return picture;
}

TEST(Win32GraphicsTest, AFrameAtRestShowsTheFaceOverTheWholeWindow) {
  platform::win32::Win32MainWindow window(GetModuleHandleA(nullptr), DefWindowProcA, nullptr);
  window.Place(0, 0, kWidth, kHeight);
  window.ShowOnTop();
  platform::win32::Win32Graphics graphics(window.hwnd());
  graphics.LoadLibraries();
  graphics.SetUpPixelFormat();
  graphics.CreateContext();
  render::EnableDepthAndTexturing();
  const render::TextureCaps caps = render::QueryTextureCaps();
  EXPECT_GE(caps.maxSide, 1024);

  std::array<render::Bitmap, 4> faces;
  std::array<render::FaceTexture, 4> textures;
  for (int k = 0; k < 4; ++k) {
    faces[k] = Gradient(static_cast<std::uint8_t>(40 + 50 * k));
    render::UploadTexture(faces[k], textures[k], caps);
  }
  render::FaceTexture none;
  render::SetViewport(kWidth, kHeight);
  for (int k = 0; k < 4; ++k) {
    render::BeginFrame(0);
    render::OrientBox(0, -90.0f * static_cast<float>(k));
    render::DrawBox(textures, none, none, kWidth);
    render::DrawBackground(0, -90.0f * static_cast<float>(k), none);
    glFinish();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kWidth, kHeight, render::kBgraFormat, GL_UNSIGNED_BYTE, pixels.data());
    int wrong = 0;
    for (int y = 0; y < kHeight; y += 3) {
      for (int x = 0; x < kWidth; x += 3) {
        const std::uint8_t* p =
            &pixels[(static_cast<std::size_t>(kHeight - 1 - y) * kWidth + x) * 4];
        const std::uint32_t rgb = static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
        if (colours::Distance(rgb, faces[k].PixelAt(x, y)) > 4) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "face " << k;
    graphics.Present();
  }
  for (render::FaceTexture& texture : textures) render::FreeTexture(texture);
  graphics.DeleteContext();
}

}  // namespace
