#include "desktops/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct SnapCase {
  float yaw;
  int desktop;
  float targetYaw;
};

class SnapYawTest : public testing::TestWithParam<SnapCase> {};

TEST_P(SnapYawTest, SettlesOnTheNearestFaceTheShortWay) {
  const SnapCase c = GetParam();
  const desktops::Snap snap = desktops::SnapYaw(c.yaw, c.yaw);
  EXPECT_EQ(snap.desktop, c.desktop) << "yaw " << c.yaw;
  EXPECT_FLOAT_EQ(snap.targetYaw, c.targetYaw) << "yaw " << c.yaw;
  EXPECT_LE(std::fabs(snap.targetYaw - snap.shownYaw), 180.0f);
}

INSTANTIATE_TEST_SUITE_P(Yaws, SnapYawTest,
                         testing::Values(SnapCase{44, 0, 0}, SnapCase{45, 0, 0},
                                         SnapCase{46, 3, 90}, SnapCase{135, 2, 180},
                                         SnapCase{225, 2, 180}, SnapCase{315, 0, 360},
                                         SnapCase{-10, 0, 360}, SnapCase{-90, 1, 270},
                                         SnapCase{720 + 91, 3, 90}, SnapCase{-3600 - 180, 2, 180},
                                         SnapCase{359.9f, 0, 360}));

TEST(SnapYawTest, NormalisesBothYawsByTheSameTurns) {
  const desktops::Snap snap = desktops::SnapYaw(-10, -10);
  EXPECT_FLOAT_EQ(snap.shownYaw, 350);
  EXPECT_FLOAT_EQ(snap.targetYaw, 360);  // on by 10 degrees, not back by 350

  // The shown yaw may lag the target; it keeps its distance to it.
  const desktops::Snap lagging = desktops::SnapYaw(370, 20);
  EXPECT_EQ(lagging.desktop, 0);
  EXPECT_FLOAT_EQ(lagging.shownYaw, 20 - 360);
  EXPECT_FLOAT_EQ(lagging.targetYaw, -360);
}

TEST(SnapYawTest, AbsurdYawsStillEndOnAFace) {
  for (float yaw : {1.0e30f, -1.0e30f, 3.0e7f}) {
    const desktops::Snap snap = desktops::SnapYaw(yaw, yaw);
    EXPECT_GE(snap.desktop, 0);
    EXPECT_LE(snap.desktop, 3);
    EXPECT_EQ(std::fmod(snap.targetYaw + 720.0f, 90.0f), 0.0f) << yaw;
  }
  const desktops::Snap nan = desktops::SnapYaw(std::nanf(""), 0);
  EXPECT_EQ(nan.desktop, 0);
  EXPECT_EQ(nan.targetYaw, 0);
}

// Steps of 10 ms until a quarter turn from rest is within one degree.
int StepsToSettle(float speed) {
  const long double p = desktops::EasingFactor(speed);
  float shown = 0;
  const float target = -90;
  int steps = 0;
  while (std::fabs(static_cast<double>(target) - shown) >= 1.0 && steps < 1000000) {
    shown = desktops::EaseStep(shown, target, p);
    ++steps;
  }
  return steps;
}

struct SettleCase {
  float speed;
  int steps;
};

class SettleTest : public testing::TestWithParam<SettleCase> {};

TEST_P(SettleTest, QuarterTurnSettlesInTheExpectedSteps) {
  EXPECT_EQ(StepsToSettle(GetParam().speed), GetParam().steps);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SettleTest,
                         testing::Values(SettleCase{0.3f, 165}, SettleCase{0.2f, 561},
                                         SettleCase{0.9f, 4}));

struct SpeedCase {
  float stored;
  float used;
};

class BoundedSpeedTest : public testing::TestWithParam<SpeedCase> {};

TEST_P(BoundedSpeedTest, KeepsEverySessionFinite) {
  const SpeedCase c = GetParam();
  EXPECT_EQ(desktops::BoundedSpeed(c.stored), c.used);
  EXPECT_LT(StepsToSettle(c.stored), 1000);
}

INSTANTIATE_TEST_SUITE_P(StoredSpeeds, BoundedSpeedTest,
                         testing::Values(SpeedCase{0.95f, 0.95f}, SpeedCase{0.3f, 0.3f},
                                         SpeedCase{0.0f, 0.2f}, SpeedCase{-1.0f, 0.2f},
                                         SpeedCase{0.01f, 0.2f}, SpeedCase{5.0f, 1.0f},
                                         SpeedCase{std::numeric_limits<float>::infinity(), 1.0f},
                                         SpeedCase{std::numeric_limits<float>::quiet_NaN(), 0.2f}));

TEST(EaseStepTest, StoresEachResultAsAFloat) {
  // 0.027 of the way from 0 to 1 is not a float; the step rounds it once.
  const long double p = desktops::EasingFactor(0.3f);
  EXPECT_EQ(desktops::EaseStep(0, 1, p), static_cast<float>(p));
}

TEST(SettledTest, ThresholdsAreStrict) {
  EXPECT_TRUE(desktops::Settled(0.0f, 0.0f, 0, 0, 0.5f, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.0f, 0, 0, 1.0f, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.0f, 1.0f, 0, 0, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.015f, 0, 0, 0, 0));
  EXPECT_TRUE(desktops::Settled(0.0f, 0.009f, 0.99f, 0, -0.99f, 0));
}

TEST(TurnTest, FivePixelsMakeADegreeAndPitchIsHeld) {
  EXPECT_FLOAT_EQ(desktops::TurnedYaw(0, 450), 90);
  EXPECT_FLOAT_EQ(desktops::TurnedPitch(0, 450), 90);
  EXPECT_FLOAT_EQ(desktops::TurnedPitch(80, 100), 90);
  EXPECT_FLOAT_EQ(desktops::TurnedPitch(-80, -100), -90);
  EXPECT_FLOAT_EQ(desktops::TurnedYaw(1000, 7), 1001.4f);
}

struct WrapCase {
  platform::Point cursor;
  platform::Point put;
  std::int32_t shiftX;
  std::int32_t shiftY;
};

class WrapCursorTest : public testing::TestWithParam<WrapCase> {};

TEST_P(WrapCursorTest, KeepsTheCursorOffTheEdges) {
  const WrapCase c = GetParam();
  const desktops::CursorWrap wrap = desktops::WrapCursor(c.cursor, 1024, 768);
  EXPECT_EQ(wrap.put.x, c.put.x);
  EXPECT_EQ(wrap.put.y, c.put.y);
  EXPECT_EQ(wrap.shiftX, c.shiftX);
  EXPECT_EQ(wrap.shiftY, c.shiftY);
  EXPECT_EQ(wrap.moved, c.shiftX != 0 || c.shiftY != 0);
}

INSTANTIATE_TEST_SUITE_P(Screen1024x768, WrapCursorTest,
                         testing::Values(WrapCase{{500, 300}, {500, 300}, 0, 0},
                                         WrapCase{{1023, 300}, {1, 300}, -1023, 0},
                                         WrapCase{{0, 300}, {1022, 300}, 1023, 0},
                                         WrapCase{{500, 767}, {500, 1}, 0, -767},
                                         WrapCase{{500, 0}, {500, 766}, 0, 767},
                                         // A corner wraps both ways in the same paint.
                                         WrapCase{{1023, 767}, {1, 1}, -1023, -767},
                                         WrapCase{{0, 0}, {1022, 766}, 1023, 767}));

}  // namespace
