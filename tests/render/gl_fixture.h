#pragma once
// A real OpenGL context drawing off screen, made current for one test.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "render/bitmap.h"
#include "render/texture.h"
#include "tests/support/mesa/offscreen_graphics.h"

class GlTest : public testing::Test {
 public:
  // The texture's texels, blue-green-red-alpha, first row first.
  static std::vector<std::uint8_t> Texels(std::uint32_t name, std::int32_t* width = nullptr,
                                          std::int32_t* height = nullptr);
  // One texel as 0x00RRGGBB, row 0 the first (a picture's bottom row);
  // kNoTexel where the texture has none.
  static constexpr std::uint32_t kNoTexel = 0xFF000000;
  static std::uint32_t TexelAt(std::uint32_t name, std::int32_t column, std::int32_t row);

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
