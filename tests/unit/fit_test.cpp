#include "platform/fit.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
  int boxWidth, boxHeight, pictureWidth, pictureHeight;
  platform::Rect expected;
};

class FitTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitTest, KeepsProportionsAndCentres) {
  const FitCase& c = GetParam();
  const platform::Rect r =
      platform::FitCentred(c.boxWidth, c.boxHeight, c.pictureWidth, c.pictureHeight);
  EXPECT_EQ(r.left, c.expected.left);
  EXPECT_EQ(r.top, c.expected.top);
  EXPECT_EQ(r.right, c.expected.right);
  EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, FitTest,
    testing::Values(FitCase{200, 100, 400, 100, {0, 25, 200, 75}},      // wide: full width
                    FitCase{200, 100, 100, 400, {87, 0, 112, 100}},     // tall: full height
                    FitCase{200, 100, 50, 20, {75, 40, 125, 60}},       // small: not enlarged
                    FitCase{200, 100, 200, 100, {0, 0, 200, 100}},      // exact
                    FitCase{100, 100, 16384, 1, {0, 49, 100, 50}},      // a line stays visible
                    FitCase{100, 100, 16384, 16384, {0, 0, 100, 100}},  // no overflow
                    FitCase{0, 100, 50, 50, {0, 0, 0, 0}},              // no box
                    FitCase{100, 100, 0, 50, {0, 0, 0, 0}}));           // no picture

struct KeepCase {
  platform::Rect window, expected;
};

class KeptInsideTest : public testing::TestWithParam<KeepCase> {};

TEST_P(KeptInsideTest, MovesAsLittleAsItTakes) {
  const platform::Rect area{0, 0, 1024, 740};
  const platform::Rect r = platform::KeptInside(GetParam().window, area);
  EXPECT_EQ(r.left, GetParam().expected.left);
  EXPECT_EQ(r.top, GetParam().expected.top);
  EXPECT_EQ(r.right, GetParam().expected.right);
  EXPECT_EQ(r.bottom, GetParam().expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, KeptInsideTest,
    testing::Values(KeepCase{{360, 210, 1020, 500}, {360, 210, 1020, 500}},  // inside
                    KeepCase{{360, 210, 1030, 750}, {354, 200, 1024, 740}},  // beyond right, bottom
                    KeepCase{{-20, -5, 300, 200}, {0, 0, 320, 205}},         // beyond left, top
                    KeepCase{{500, 10, 1700, 900}, {0, 0, 1200, 890}}));     // larger: top-left

}  // namespace
