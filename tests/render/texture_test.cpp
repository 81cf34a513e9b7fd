// Textures made from pictures, read back from a real context.
#include "render/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "gl_fixture.h"
#include "render/gl.h"
#include "sample_pictures.h"

namespace {

TEST(NextPowerOfTwoTest, SixteenOrTheSmallestPowerNotBelow) {
  const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {{-5, 16},
                                                                    {0, 16},
                                                                    {1, 16},
                                                                    {16, 16},
                                                                    {17, 32},
                                                                    {768, 1024},
                                                                    {1024, 1024},
                                                                    {1025, 2048},
                                                                    {1280, 2048},
                                                                    {1080, 2048},
                                                                    {8192, 8192},
                                                                    {8193, 16384},
                                                                    {1 << 30, 1 << 30},
                                                                    {(1 << 30) + 1, 1 << 30}};
  for (const auto& [n, p] : cases) EXPECT_EQ(render::NextPowerOfTwo(n), p) << n;
}

TEST(SwapRedBlueTest, ExchangesTheFirstAndThirdByteOnly) {
  render::Bitmap bitmap;
  bitmap.SetSize(2, 1);
  std::uint8_t* bytes = bitmap.Data();
  const std::uint8_t original[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::copy(original, original + 8, bytes);
  render::SwapRedBlue(bitmap);
  const std::uint8_t swapped[8] = {3, 2, 1, 4, 7, 6, 5, 8};
  EXPECT_TRUE(std::equal(swapped, swapped + 8, bitmap.Data()));
  render::SwapRedBlue(bitmap);
  EXPECT_TRUE(std::equal(original, original + 8, bitmap.Data()));
}

struct CropCase {
  std::int32_t width, height;
  std::int32_t side, left, top;
};

class CropToSquareTest : public testing::TestWithParam<CropCase> {};

TEST_P(CropToSquareTest, KeepsTheCentredSquare) {
  const CropCase c = GetParam();
  const render::Bitmap original = samples::Numbered(c.width, c.height);
  render::Bitmap bitmap = original;
  render::CropToSquare(bitmap);
  ASSERT_EQ(bitmap.Width(), c.side);
  ASSERT_EQ(bitmap.Height(), c.side);
  for (std::int32_t y = 0; y < c.side; ++y) {
    for (std::int32_t x = 0; x < c.side; ++x) {
      ASSERT_EQ(bitmap.PixelAt(x, y), original.PixelAt(c.left + x, c.top + y)) << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, CropToSquareTest,
                         testing::Values(CropCase{300, 200, 200, 50, 0},
                                         CropCase{201, 200, 200, 0, 0},
                                         CropCase{202, 200, 200, 1, 0},
                                         CropCase{200, 301, 200, 0, 50},
                                         CropCase{200, 303, 200, 0, 51}, CropCase{64, 64, 64, 0, 0},
                                         CropCase{1, 9, 1, 0, 4}, CropCase{0, 0, 0, 0, 0}));

// The triple of a picture of each size, and its texture's size.
struct TripleCase {
  std::int32_t width, height;
  std::int32_t textureWidth, textureHeight;
  float sMax, tMin;
};

class TextureTripleTest : public GlTest, public testing::WithParamInterface<TripleCase> {};

TEST_P(TextureTripleTest, RecordsWhereThePictureLies) {
  const TripleCase c = GetParam();
  render::Bitmap bitmap;
  bitmap.SetSize(c.width, c.height);
  render::FaceTexture texture;
  render::UploadTexture(bitmap, texture, caps);
  ASSERT_NE(texture.name, 0u);
  EXPECT_EQ(texture.sMax, c.sMax);  // exact: single precision as stated
  EXPECT_EQ(texture.tMin, c.tMin);
  std::int32_t w = 0, h = 0;
  Texels(texture.name, &w, &h);
  EXPECT_EQ(w, c.textureWidth);
  EXPECT_EQ(h, c.textureHeight);
  render::FreeTexture(texture);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TextureTripleTest,
                         testing::Values(TripleCase{1024, 768, 1024, 1024, 1.0f, 0.25f},
                                         TripleCase{1280, 1024, 2048, 1024, 0.625f, 0.0f},
                                         TripleCase{10, 10, 16, 16, 0.625f, 0.375f},
                                         TripleCase{1000, 500, 1024, 512, 1000.0f / 1024.0f,
                                                    1.0f - 500.0f / 512.0f},
                                         TripleCase{256, 256, 256, 256, 1.0f, 0.0f},
                                         TripleCase{0, 0, 16, 16, 0.0f, 1.0f}));

class UploadTest : public GlTest {
 protected:
  // Checks that the texture holds the picture with t = 1 its top row and
  // s = 0 its left column, and zero bytes everywhere else.
  void ExpectHolds(const render::FaceTexture& texture, const render::Bitmap& picture) {
    std::int32_t tw = 0, th = 0;
    const std::vector<std::uint8_t> texels = Texels(texture.name, &tw, &th);
    ASSERT_EQ(tw, render::NextPowerOfTwo(picture.Width()));
    ASSERT_EQ(th, render::NextPowerOfTwo(picture.Height()));
    const std::int32_t firstPictureRow = th - picture.Height();
    int wrong = 0;
    for (std::int32_t row = 0; row < th; ++row) {
      for (std::int32_t column = 0; column < tw; ++column) {
        const std::uint8_t* t = &texels[(static_cast<std::size_t>(row) * tw + column) * 4];
        const std::uint32_t rgb = t[2] << 16 | t[1] << 8 | t[0];
        const bool inside = column < picture.Width() && row >= firstPictureRow;
        // Texture row H - 1 is the picture's top row.
        const std::uint32_t expected = inside ? picture.PixelAt(column, th - 1 - row) : 0;
        const std::uint8_t expectedFourth = inside ? picture.Data()[3] : 0;
        if (rgb != expected || (!inside && t[3] != expectedFourth)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
};

TEST_F(UploadTest, TexelsHoldThePictureUprightAndTheBitmapStaysAsItWas) {
  for (const bool bgra : {true, false}) {
    render::TextureCaps path = caps;
    path.bgra = bgra;
    const render::Bitmap picture = samples::Numbered(37, 21, 0x5A);
    render::Bitmap bitmap = picture;
    render::FaceTexture texture;
    render::UploadTexture(bitmap, texture, path);
    ExpectHolds(texture, picture);
    EXPECT_EQ(bitmap.Width(), 37);
    EXPECT_EQ(bitmap.Height(), 21);
    ASSERT_EQ(bitmap.ByteSize(), picture.ByteSize());
    EXPECT_TRUE(std::equal(picture.Data(), picture.Data() + picture.ByteSize(),
                           static_cast<const render::Bitmap&>(bitmap).Data()))
        << "bgra " << bgra;
    // Linear filters both ways and no mipmaps.
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    GLint secondLevel = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &secondLevel);
    EXPECT_EQ(secondLevel, 0);
    render::FreeTexture(texture);
  }
}

TEST_F(UploadTest, SameSizeRefillsInPlaceAndOtherSizesStartAfresh) {
  render::Bitmap bitmap = samples::Numbered(40, 30, 1);
  render::FaceTexture texture;
  render::UploadTexture(bitmap, texture, caps);
  const std::uint32_t first = texture.name;
  EXPECT_FALSE(render::OutOfDate(bitmap, texture));

  // A new picture of the same size: same texture, new texels.
  bitmap = samples::Numbered(40, 30, 2);
  EXPECT_TRUE(render::OutOfDate(bitmap, texture));
  render::UploadTexture(bitmap, texture, caps);
  EXPECT_EQ(texture.name, first);
  ExpectHolds(texture, bitmap);

  // Smaller, but in a texture of the same size: the old picture's texels
  // outside the new one are cleared.
  bitmap = samples::Numbered(33, 17, 3);
  render::UploadTexture(bitmap, texture, caps);
  EXPECT_EQ(texture.name, first);
  ExpectHolds(texture, bitmap);

  // Beyond the texture's size: a new texture, and the old one is gone.
  bitmap = samples::Numbered(70, 30, 4);
  render::UploadTexture(bitmap, texture, caps);
  ExpectHolds(texture, bitmap);
  int live = 0;
  for (GLuint name = 1; name < 16; ++name) live += glIsTexture(name) == GL_TRUE ? 1 : 0;
  EXPECT_EQ(live, 1);
  render::FreeTexture(texture);
}

TEST(HalfSizeTest, AveragesEachBlockOfFourAndKeepsOddEdges) {
  render::Bitmap bitmap;
  bitmap.SetSize(3, 3);
  // Red by position: 0 10 20 / 30 40 50 / 60 70 80 (rows from the top).
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 3; ++x)
      bitmap.SetPixel(x, y, static_cast<std::uint32_t>(30 * y + 10 * x) << 16);
  }
  const render::Bitmap half = render::HalfSize(bitmap);
  ASSERT_EQ(half.Width(), 2);
  ASSERT_EQ(half.Height(), 2);
  EXPECT_EQ(half.PixelAt(0, 0) >> 16, 20u);  // (0 + 10 + 30 + 40) / 4
  EXPECT_EQ(half.PixelAt(1, 0) >> 16, 35u);  // (20 + 20 + 50 + 50) / 4
  EXPECT_EQ(half.PixelAt(0, 1) >> 16, 65u);  // (60 + 70 + 60 + 70) / 4
  EXPECT_EQ(half.PixelAt(1, 1) >> 16, 80u);
}

TEST_F(UploadTest, APictureBeyondTheLargestTextureIsSentSmaller) {
  // Mesa takes 16384, as wide as a bitmap may be, so a smaller limit stands
  // in for Windows' software OpenGL here.
  render::TextureCaps small = caps;
  small.maxTextureSide = 256;
  render::Bitmap bitmap = samples::Gradient(600, 300, 7);
  render::FaceTexture texture;
  render::UploadTexture(bitmap, texture, small);
  // 600 x 300 needs 1024 x 512; halved twice, 150 x 75 fits 256 x 128.
  EXPECT_EQ(texture.sMax, 150.0f / 256);
  EXPECT_EQ(texture.tMin, 1.0f - 75.0f / 128);
  ExpectHolds(texture, render::HalfSize(render::HalfSize(bitmap)));
  EXPECT_EQ(bitmap.Width(), 600);
  EXPECT_FALSE(render::OutOfDate(bitmap, texture));
  render::FreeTexture(texture);
}

TEST(PaddingSourceTest, ShowsWhatLiesBeyondTheNearerEdge) {
  struct Case {
    std::int32_t position, pictureSide, textureSide;
    bool goesRound;
    std::int32_t source;
  };
  const Case cases[] = {
      // Five columns in eight: after the last, then before the first.
      {5, 5, 8, false, 4},
      {6, 5, 8, false, 4},  // as near to both: the last edge's side
      {7, 5, 8, false, 0},
      {5, 5, 8, true, 0},
      {6, 5, 8, true, 1},
      {7, 5, 8, true, 4},
      // Padding wider than the picture goes on round.
      {6, 3, 16, true, 0},
      {14, 3, 16, true, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render::PaddingSource(c.position, c.pictureSide, c.textureSide, c.goesRound),
              c.source)
        << c.position << " of " << c.pictureSide << " in " << c.textureSide << " round "
        << c.goesRound;
  }
}

struct PaddingCase {
  std::int32_t width, height;
  render::Padding padding;
  std::int32_t maxTextureSide;  // 0: any
};

class PaddingTest : public UploadTest, public testing::WithParamInterface<PaddingCase> {};

// Linear filtering at a picture's edges reaches one texel beyond them, and
// with the default wrap mode beyond the left and top edges that is the
// texture's last column and first row. There the texture must hold the
// picture's own colours: each edge again, or, around the sphere, the other
// side edge. No padding texel is left black.
TEST_P(PaddingTest, BeyondEveryEdgeLieOnlyThePicturesColours) {
  const PaddingCase c = GetParam();
  constexpr std::uint8_t kTag = 0x5A;
  const bool aroundSphere = c.padding == render::Padding::kAroundSphere;
  for (const bool bgra : {true, false}) {
    render::TextureCaps path = caps;
    path.bgra = bgra;
    path.maxTextureSide = c.maxTextureSide;
    render::FaceTexture texture;
    // An earlier picture of the same size must not show in the padding.
    render::Bitmap bitmap = samples::Numbered(c.width, c.height, 0x11);
    render::UploadTexture(bitmap, texture, path, c.padding);
    bitmap = samples::Numbered(c.width, c.height, kTag);
    render::UploadTexture(bitmap, texture, path, c.padding);
    const render::Bitmap sent = c.maxTextureSide > 0 ? render::HalfSize(bitmap)
                                                     : static_cast<const render::Bitmap&>(bitmap);
    const std::int32_t w = sent.Width();
    const std::int32_t h = sent.Height();

    std::int32_t tw = 0, th = 0;
    const std::vector<std::uint8_t> texels = Texels(texture.name, &tw, &th);
    // The texel at a column and a row counted from the picture's top, wrapped
    // as the default wrap mode does.
    const auto texel = [&](std::int32_t column, std::int32_t fromTop) {
      const std::int32_t x = (column + tw) % tw;
      const std::int32_t row = (th - 1 - fromTop + th) % th;
      const std::uint8_t* t = &texels[(static_cast<std::size_t>(row) * tw + x) * 4];
      return static_cast<std::uint32_t>(t[2] << 16 | t[1] << 8 | t[0]);
    };
    const auto beyond = [&](std::int32_t x, std::int32_t y) {
      x = aroundSphere ? (x + w) % w : std::clamp(x, 0, w - 1);
      return sent.PixelAt(x, std::clamp(y, 0, h - 1));
    };
    int wrong = 0;
    for (std::int32_t y = -1; y <= h; ++y) {
      for (std::int32_t x = -1; x <= w; ++x) {
        const bool inside = x >= 0 && x < w && y >= 0 && y < h;
        if (!inside && texel(x, y) != beyond(x, y)) ++wrong;
      }
    }
    EXPECT_EQ(wrong, 0) << "bgra " << bgra;
    int untagged = 0;
    for (std::size_t k = 0; k < texels.size(); k += 4) untagged += texels[k] != kTag ? 1 : 0;
    EXPECT_EQ(untagged, 0) << "bgra " << bgra;
    render::FreeTexture(texture);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PaddingTest,
    testing::Values(PaddingCase{13, 6, render::Padding::kRepeatEdges, 0},
                    PaddingCase{13, 6, render::Padding::kAroundSphere, 0},
                    // As wide as its texture: the sides meet without padding.
                    PaddingCase{16, 5, render::Padding::kAroundSphere, 0},
                    PaddingCase{3, 40, render::Padding::kRepeatEdges, 0},
                    // Two rows of padding: below the bottom, then above the top.
                    PaddingCase{13, 14, render::Padding::kRepeatEdges, 0},
                    // Sent at half size, padded all the same.
                    PaddingCase{40, 20, render::Padding::kAroundSphere, 32}));

TEST_F(UploadTest, FreeTextureDeletesANameAndLeavesZeroAlone) {
  render::Bitmap bitmap = samples::Numbered(8, 8);
  render::FaceTexture texture;
  render::UploadTexture(bitmap, texture, caps);
  const std::uint32_t name = texture.name;
  ASSERT_EQ(glIsTexture(name), GL_TRUE);
  render::FreeTexture(texture);
  EXPECT_EQ(texture.name, 0u);
  EXPECT_EQ(glIsTexture(name), GL_FALSE);
  EXPECT_TRUE(render::OutOfDate(bitmap, texture));
  render::FreeTexture(texture);
  EXPECT_EQ(texture.name, 0u);
}

// Whether the context would make a texture of that size, asked without
// making one.
bool ContextTakes(std::int32_t width, std::int32_t height) {
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               nullptr);
  GLint made = 0;
  glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &made);
  return made == width;
}

TEST_F(UploadTest, ContextTellsWhatItTakes) {
  EXPECT_TRUE(caps.bgra);
  EXPECT_GE(caps.maxSide, 1024);
  EXPECT_LE(caps.maxSide, 8192);
  // The largest side is the context's own limit: that wide it takes, twice
  // that it refuses.
  ASSERT_GE(caps.maxTextureSide, 1024);
  EXPECT_TRUE(ContextTakes(caps.maxTextureSide, render::kMinTextureSide));
  EXPECT_FALSE(ContextTakes(2 * caps.maxTextureSide, render::kMinTextureSide));
}

}  // namespace
