#pragma once
// A real OpenGL context drawing off screen, made current for one test.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/support/mesa/offscreen_graphics.h"
#include "render/bitmap.h"
#include "render/texture.h"

class GlTest : public testing::Test {
 public:
  // The texture's texels, blue-green-red-alpha, first row first.
  static std::vector<std::uint8_t> Texels(std::uint32_t name, std::int32_t* width = nullptr,
                                          std::int32_t* height = nullptr);

 protected:
  // Makes a context whose frames are width x height.
  void MakeContext(std::int32_t width, std::int32_t height) {
    gl_.reset();
    gl_ = std::make_unique<platform::OffscreenGraphics>(width, height);
    gl_->CreateContext();
    ASSERT_TRUE(gl_->HasContext());
    caps = render::QueryTextureCaps();
  }
  void SetUp() override { MakeContext(64, 48); }

  platform::OffscreenGraphics& gl() { return *gl_; }

  render::TextureCaps caps;

 private:
  std::unique_ptr<platform::OffscreenGraphics> gl_;
};
