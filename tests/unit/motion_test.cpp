#include "desktops/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
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

struct LagCase {
  float targetYaw;
  float shownYaw;
  int desktop;
  float settleYaw;
  float shownAfter;
};

class SnapLaggingTest : public testing::TestWithParam<LagCase> {};

// The shown yaw may trail the target by up to a half turn and more; the
// correction turns the shorter way, and exactly a half turn apart is not
// "more than" a half turn.
TEST_P(SnapLaggingTest, TurnsTheShorterWayFromTheShownYaw) {
  const LagCase c = GetParam();
  const desktops::Snap snap = desktops::SnapYaw(c.targetYaw, c.shownYaw);
  EXPECT_EQ(snap.desktop, c.desktop);
  EXPECT_FLOAT_EQ(snap.targetYaw, c.settleYaw);
  EXPECT_FLOAT_EQ(snap.shownYaw, c.shownAfter);
}

INSTANTIATE_TEST_SUITE_P(
    HalfTurnApart, SnapLaggingTest,
    testing::Values(
        // Face 0 (yaw 0) with the shown yaw exactly 180 away on either side: stays.
        LagCase{10, 180, 0, 0, 180}, LagCase{10, -180, 0, 0, -180},
        // Face 2 (yaw 180) with the shown yaw at 0 or 360: stays at 180.
        LagCase{170, 0, 2, 180, 0}, LagCase{190, 360, 2, 180, 360},
        // Just over a half turn apart: one whole turn towards the shown yaw.
        LagCase{10, 180.5f, 0, 360, 180.5f}, LagCase{10, -180.5f, 0, -360, -180.5f},
        LagCase{170, -0.5f, 2, -180, -0.5f}, LagCase{190, 360.5f, 2, 540, 360.5f}));

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

struct StepCase {
  float speed;
  std::uint32_t shownBits;
  float target;
  std::uint32_t expectedBits;
};

class EaseStepRoundingTest : public testing::TestWithParam<StepCase> {};

float FloatOf(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Steps whose exact result lies so near the midpoint between two floats that
// a double or float intermediate rounds it to the other neighbour; found by
// sweeping all floats of a range against an 80-bit computation.
TEST_P(EaseStepRoundingTest, RoundsTheExtendedPrecisionResultOnce) {
  const StepCase c = GetParam();
  const float eased =
      desktops::EaseStep(FloatOf(c.shownBits), c.target, desktops::EasingFactor(c.speed));
  EXPECT_EQ(eased, FloatOf(c.expectedBits)) << std::hexfloat << eased;
}

INSTANTIATE_TEST_SUITE_P(NearMidpoints, EaseStepRoundingTest,
                         testing::Values(StepCase{0.2f, 0x3c2aaaac, 0, 0x3c294d25},
                                         StepCase{0.2f, 0x3f2aaaac, 0, 0x3f294d25},
                                         StepCase{0.45f, 0x4110602f, -90, 0xb80552db},
                                         StepCase{0.61f, 0x3ec9d908, 1, 0x3f081f8b},
                                         StepCase{0.61f, 0x400d89be, 1, 0x3ff7e075},
                                         StepCase{0.77f, 0x3e2819e7, -90, 0xc223feb9},
                                         StepCase{0.9f, 0x436ea130, -90, 0xbf70fc3d},
                                         StepCase{0.9f, 0x4371e0ba, -90, 0xbd7a35fb}));

TEST(SettledTest, ThresholdsAreStrict) {
  EXPECT_TRUE(desktops::Settled(0.0f, 0.0f, 0, 0, 0.5f, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.0f, 0, 0, 1.0f, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.0f, 1.0f, 0, 0, 0));
  EXPECT_FALSE(desktops::Settled(0.0f, 0.015f, 0, 0, 0, 0));
  EXPECT_TRUE(desktops::Settled(0.0f, 0.009f, 0.99f, 0, -0.99f, 0));
}

struct PitchCase {
  float pitch;
  std::int32_t dy;
  float turned;
};

class TurnedPitchTest : public testing::TestWithParam<PitchCase> {};

// Pixel counts that are not a multiple of five turn by a fraction of a degree.
TEST_P(TurnedPitchTest, TurnsByAFifthOfADegreePerPixel) {
  const PitchCase c = GetParam();
  EXPECT_FLOAT_EQ(desktops::TurnedPitch(c.pitch, c.dy), c.turned) << c.pitch << " + " << c.dy;
}

INSTANTIATE_TEST_SUITE_P(Pixels, TurnedPitchTest,
                         testing::Values(PitchCase{0, 1, 0.2f}, PitchCase{0, 7, 1.4f},
                                         PitchCase{0, -3, -0.6f}, PitchCase{10, -12, 7.6f},
                                         PitchCase{0, 449, 89.8f}, PitchCase{0, -449, -89.8f},
                                         PitchCase{89, 4, 89.8f}, PitchCase{89, 6, 90},
                                         PitchCase{-89, -6, -90}, PitchCase{0, 451, 90}));

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
