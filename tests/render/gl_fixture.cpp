#include "gl_fixture.h"

#include "render/gl.h"

std::vector<std::uint8_t> GlTest::Texels(std::uint32_t name, std::int32_t* width,
                                         std::int32_t* height) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint w = 0;
  GLint h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  std::vector<std::uint8_t> texels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  glGetTexImage(GL_TEXTURE_2D, 0, render::kBgraFormat, GL_UNSIGNED_BYTE, texels.data());
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return texels;
}

std::uint32_t GlTest::TexelAt(std::uint32_t name, std::int32_t column, std::int32_t row) {
  std::int32_t width = 0;
  std::int32_t height = 0;
  const std::vector<std::uint8_t> texels = Texels(name, &width, &height);
  if (column < 0 || row < 0 || column >= width || row >= height) return kNoTexel;
  const std::uint8_t* t = &texels[(static_cast<std::size_t>(row) * width + column) * 4];
  return static_cast<std::uint32_t>(t[2]) << 16 | t[1] << 8 | t[0];
}
