#include "desktops/layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// One monitor of 1024 pixels: the layout as it always was.
constexpr desktops::Span kScreen{0, 1024};

struct ShiftCase {
  std::int32_t left;
  std::int64_t shift;
  std::int32_t expected;
};

class ShiftedLeftTest : public testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftedLeftTest, WrapsIntoTheFourDesktopRange) {
  const ShiftCase c = GetParam();
  EXPECT_EQ(desktops::ShiftedLeft(c.left, c.shift, kScreen), c.expected)
      << "left " << c.left << " shift " << c.shift;
}

INSTANTIATE_TEST_SUITE_P(
    ScreenWidth1024, ShiftedLeftTest,
    testing::Values(
        // One desktop forward: everything moves one width left.
        ShiftCase{10, -1024, -1014}, ShiftCase{1100, -1024, 76}, ShiftCase{2100, -1024, 1076},
        ShiftCase{3000, -1024, 1976},
        // Below -w wraps round to the far right.
        ShiftCase{-1000, -1024, 2072},
        // The range tests are strict: exactly -w and 3w stay.
        ShiftCase{-1024, 0, -1024}, ShiftCase{3072, 0, 3072}, ShiftCase{-1025, 0, 3071},
        ShiftCase{3073, 0, -1023},
        // Two desktops apart.
        ShiftCase{0, 2048, 2048}, ShiftCase{2048, 2048, 0},
        // Far outside the range: as many whole turns as needed, at once.
        ShiftCase{100 + 7 * 4096, 0, 100}, ShiftCase{100 - 9 * 4096, 0, 100},
        ShiftCase{INT32_MAX, 0, -1}, ShiftCase{INT32_MIN, -3072, 1024},
        // Exactly -w - k*4w: whole turns bring it to -w and stop there,
        // one pixel further needs one turn more.
        ShiftCase{-1024 - 4096, 0, -1024}, ShiftCase{-1024 - 2 * 4096, 0, -1024},
        ShiftCase{-1024 - 5 * 4096, 0, -1024}, ShiftCase{-1024 - 4096 - 1, 0, 3071},
        ShiftCase{-1024 - 2 * 4096 + 1, 0, -1023}, ShiftCase{3000, -3000 - 1024 - 4096, -1024},
        // Exactly 3w + k*4w comes down to 3w and stops there.
        ShiftCase{3072 + 4096, 0, 3072}, ShiftCase{3072 + 3 * 4096, 0, 3072},
        ShiftCase{3072 + 4096 + 1, 0, -1023}, ShiftCase{3072 + 2 * 4096 - 1, 0, 3071},
        ShiftCase{100, 3072 - 100 + 4096, 3072},
        // The count of turns is rounded up, not to the nearest: a shortfall
        // just over half a turn and just under one.
        ShiftCase{-1024 - 4096 - 2049, 0, 1023}, ShiftCase{-1024 - 4096 - 2047, 0, 1025},
        ShiftCase{3072 + 4096 + 2049, 0, 1025}, ShiftCase{3072 + 4096 + 2047, 0, 1023}));

TEST(ShiftedLeftTest, NoScreenWidthLeavesTheWindowAlone) {
  EXPECT_EQ(desktops::ShiftedLeft(-5000, -1024, desktops::Span{0, 0}), -5000);
}

struct CentreCase {
  std::int32_t left;
  std::int32_t right;
  int expected;
};

class DesktopOffsetTest : public testing::TestWithParam<CentreCase> {};

TEST_P(DesktopOffsetTest, ReadsTheDesktopFromTheCentre) {
  const CentreCase c = GetParam();
  EXPECT_EQ(desktops::DesktopOffsetOf(platform::Rect{c.left, 0, c.right, 10}, kScreen), c.expected)
      << c.left << ".." << c.right;
}

// The centre is taken modulo four widths, as parking wraps windows: the last
// width, left of the screen or wrapped round to the right, is one desktop back.
INSTANTIATE_TEST_SUITE_P(
    ScreenWidth1024, DesktopOffsetTest,
    testing::Values(CentreCase{-2, 0, -1}, CentreCase{0, 0, 0}, CentreCase{1023, 1023, 0},
                    CentreCase{1024, 1024, 1}, CentreCase{2047, 2047, 1}, CentreCase{2048, 2048, 2},
                    CentreCase{3071, 3071, 2}, CentreCase{3072, 3072, -1},
                    CentreCase{4095, 4095, -1}, CentreCase{4096, 4096, 0},
                    CentreCase{5000, 5000, 0},
                    // Maximised (8 pixels past each edge) on the screen, one and two
                    // desktops on, and one back, wrapped to 3w - 8.
                    CentreCase{-8, 1032, 0}, CentreCase{1016, 2056, 1}, CentreCase{2040, 3080, 2},
                    CentreCase{3064, 4104, -1},
                    // Snapped to the left half (from -7), one back and wrapped.
                    CentreCase{3065, 3591, -1},
                    // left + right = -1: the centre rounds toward zero, to 0.
                    CentreCase{-101, 100, 0},
                    // Huge rectangles do not overflow the sum.
                    CentreCase{INT32_MAX - 10, INT32_MAX, -1},
                    CentreCase{INT32_MIN, INT32_MIN + 10, 0}));

}  // namespace
