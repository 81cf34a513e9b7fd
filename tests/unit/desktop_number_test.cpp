// The desktop's number on the tray icon's picture: it reads at every size the
// notification area asks for, each number differs, and bad input is left
// alone.
#include "render/desktop_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

constexpr std::uint8_t kBase = 0x40;  // a grey, half transparent picture

platform::PixelImage Picture(std::int32_t side) {
  platform::PixelImage picture;
  picture.width = picture.height = side;
  picture.pixels.assign(static_cast<std::size_t>(side) * side * platform::kBytesPerPixel, kBase);
  return picture;
}

class DesktopNumberTest : public testing::TestWithParam<std::int32_t> {};

// The digit stands in the lower right corner, white inside a black outline,
// opaque, as tall as the side allows in whole font pixels; nothing else of
// the picture changes.
TEST_P(DesktopNumberTest, EachNumberReadsAndDiffers) {
  const std::int32_t side = GetParam();
  const render::DigitScale scale = render::DigitScaleFor(side);
  EXPECT_LE(render::kDigitHeight * scale.pixel + 2 * scale.outline, side);
  EXPECT_GT(render::kDigitHeight * scale.pixel + 2 * scale.outline + render::kDigitHeight, side);
  std::set<std::vector<std::uint8_t>> drawn;
  for (int number = 1; number <= 4; ++number) {
    platform::PixelImage picture = Picture(side);
    render::DrawDesktopNumber(number, &picture);
    drawn.insert(picture.pixels);
    int white = 0;
    int black = 0;
    std::int32_t top = side;
    std::int32_t leftmost = side;
    for (std::int32_t y = 0; y < side; ++y) {
      for (std::int32_t x = 0; x < side; ++x) {
        const std::uint8_t* p =
            &picture.pixels[(static_cast<std::size_t>(side - 1 - y) * side + x) * 4];
        if (p[0] == kBase && p[3] == kBase) continue;
        ASSERT_EQ(p[3], 0xFF);
        ASSERT_TRUE(p[0] == 0xFF || p[0] == 0x00);
        (p[0] == 0xFF ? white : black) += 1;
        top = std::min(top, y);
        leftmost = std::min(leftmost, x);
      }
    }
    EXPECT_GE(white, 7 * scale.pixel * scale.pixel) << number;
    EXPECT_GT(black, white / 2) << number;
    // The glyph's top row is lit for every digit: the box starts there.
    EXPECT_EQ(top, side - render::kDigitHeight * scale.pixel - 2 * scale.outline) << number;
    EXPECT_GE(leftmost, side - render::kDigitWidth * scale.pixel - 2 * scale.outline) << number;
  }
  EXPECT_EQ(drawn.size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(TraySizes, DesktopNumberTest, testing::Values(16, 20, 24, 32, 48));

TEST(DesktopNumberInputTest, OtherNumbersAndDamagedPicturesAreLeftAlone) {
  for (const int number : {0, 5, -1}) {
    platform::PixelImage picture = Picture(16);
    render::DrawDesktopNumber(number, &picture);
    EXPECT_EQ(picture.pixels, Picture(16).pixels) << number;
  }
  platform::PixelImage damaged = Picture(16);
  damaged.pixels.resize(10);
  render::DrawDesktopNumber(1, &damaged);
  EXPECT_EQ(damaged.pixels, std::vector<std::uint8_t>(10, kBase));
  platform::PixelImage empty;
  render::DrawDesktopNumber(1, &empty);
  EXPECT_TRUE(empty.pixels.empty());
}

}  // namespace
