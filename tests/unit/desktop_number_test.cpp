// The desktop's number on the tray icon's picture: it reads at every size the
// notification area asks for, each number differs, and bad input is left
// alone.
#include "render/desktop_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace {

constexpr std::uint8_t kBase = 0x40;  // a grey, partly transparent picture

platform::PixelImage Picture(std::int32_t side) {
  return {side, side, std::vector<std::uint8_t>(static_cast<std::size_t>(side) * side * 4, kBase)};
}

class DesktopNumberTest : public testing::TestWithParam<std::int32_t> {};

// White on a black outline, opaque, as tall as the side allows in whole font
// pixels, in the lower right corner: the top left stays the icon's.
TEST_P(DesktopNumberTest, EachNumberReadsAndDiffers) {
  const std::int32_t side = GetParam();
  const render::DigitScale scale = render::DigitScaleFor(side);
  const std::int32_t box = render::kDigitHeight * scale.pixel + 2 * scale.outline;
  EXPECT_LE(box, side);
  EXPECT_GT(box + render::kDigitHeight, side);
  std::set<std::vector<std::uint8_t>> drawn;
  for (int number = 1; number <= 4; ++number) {
    platform::PixelImage picture = Picture(side);
    render::DrawDesktopNumber(number, &picture);
    drawn.insert(picture.pixels);
    std::map<std::uint32_t, int> levels;  // of the changed pixels: grey level and opacity
    for (std::size_t i = 0; i < picture.pixels.size(); i += 4) {
      if (picture.pixels[i] != kBase) ++levels[picture.pixels[i] << 8 | picture.pixels[i + 3]];
    }
    EXPECT_GE(levels[0xFFFF], 7 * scale.pixel * scale.pixel) << number;  // white
    EXPECT_GT(levels[0x00FF], levels[0xFFFF] / 2) << number;             // black
    EXPECT_EQ(levels.size(), 2u) << number;
    EXPECT_EQ(picture.pixels.back(), kBase) << "top right, above the digit";
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
}

}  // namespace
