#include "render/bitmap.h"

#include <gtest/gtest.h>

namespace {

// A picture whose every pixel tells its own position.
render::Bitmap Numbered(std::int32_t width, std::int32_t height) {
  render::Bitmap bitmap;
  bitmap.SetSize(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      bitmap.SetPixel(x, y, static_cast<std::uint32_t>(y << 8 | x));
    }
  }
  return bitmap;
}

struct ResizeCase {
  std::int32_t width, height;
  std::int32_t newWidth, newHeight;
};

class BitmapResizeTest : public testing::TestWithParam<ResizeCase> {};

TEST_P(BitmapResizeTest, KeepsPixelsCountedFromTheTopLeft) {
  const ResizeCase c = GetParam();
  render::Bitmap bitmap = Numbered(c.width, c.height);
  bitmap.SetSize(c.newWidth, c.newHeight);
  ASSERT_EQ(bitmap.Width(), c.newWidth);
  ASSERT_EQ(bitmap.Height(), c.newHeight);
  ASSERT_EQ(bitmap.ByteSize(), static_cast<std::size_t>(c.newWidth * c.newHeight * 4));
  for (std::int32_t y = 0; y < c.newHeight; ++y) {
    for (std::int32_t x = 0; x < c.newWidth; ++x) {
      const bool kept = x < c.width && y < c.height;
      EXPECT_EQ(bitmap.PixelAt(x, y), kept ? static_cast<std::uint32_t>(y << 8 | x) : 0u)
          << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BitmapResizeTest,
                         testing::Values(ResizeCase{10, 6, 16, 16}, ResizeCase{16, 16, 10, 6},
                                         ResizeCase{7, 9, 7, 4}, ResizeCase{7, 9, 3, 9},
                                         ResizeCase{5, 5, 0, 0}, ResizeCase{0, 0, 4, 3}));

TEST(BitmapTest, RowsAreStoredBottomUpAsBlueGreenRed) {
  render::Bitmap bitmap;
  bitmap.SetSize(2, 2);
  bitmap.SetPixel(0, 0, 0x112233);  // top-left
  bitmap.SetPixel(1, 1, 0x445566);  // bottom-right
  const std::uint8_t* bytes = bitmap.Data();
  // Bottom row first: its second pixel is bottom-right.
  EXPECT_EQ(bytes[4], 0x66);
  EXPECT_EQ(bytes[5], 0x55);
  EXPECT_EQ(bytes[6], 0x44);
  // Top row last.
  EXPECT_EQ(bytes[8], 0x33);
  EXPECT_EQ(bytes[10], 0x11);
}

TEST(BitmapTest, RefusesSizesNoScreenHas) {
  render::Bitmap bitmap;
  bitmap.SetSize(-5, 100000);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), render::Bitmap::kMaxSide);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.ByteSize(), 0u);
}

}  // namespace
