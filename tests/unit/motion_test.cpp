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

struct SpeedCase {
  float stored;
  float used;
};

class BoundedSpeedTest : public testing::TestWithParam<SpeedCase> {};

// A stored speed outside the range that settles is brought to its nearest
// end; one that is no number at all, to the slowest.
TEST_P(BoundedSpeedTest, KeepsTheSpeedWhereSessionsSettle) {
  const SpeedCase c = GetParam();
  EXPECT_EQ(desktops::BoundedSpeed(c.stored), c.used);
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

struct TurnedCase {
  float angle;
  std::int32_t pixels;
  float pitch;
  float yaw;
};

class TurnedTest : public testing::TestWithParam<TurnedCase> {};

// Pixel counts that are not a multiple of five turn by a fraction of a
// degree; the pitch is held within ±90, the yaw has no limit.
TEST_P(TurnedTest, TurnsByAFifthOfADegreePerPixel) {
  const TurnedCase c = GetParam();
  EXPECT_FLOAT_EQ(desktops::TurnedPitch(c.angle, c.pixels), c.pitch)
      << c.angle << " + " << c.pixels;
  EXPECT_FLOAT_EQ(desktops::TurnedYaw(c.angle, c.pixels), c.yaw) << c.angle << " + " << c.pixels;
}

INSTANTIATE_TEST_SUITE_P(
    Pixels, TurnedTest,
    testing::Values(TurnedCase{0, 1, 0.2f, 0.2f}, TurnedCase{0, 7, 1.4f, 1.4f},
                    TurnedCase{0, -3, -0.6f, -0.6f}, TurnedCase{10, -12, 7.6f, 7.6f},
                    TurnedCase{0, 449, 89.8f, 89.8f}, TurnedCase{0, -449, -89.8f, -89.8f},
                    TurnedCase{0, 450, 90, 90}, TurnedCase{0, 451, 90, 90.2f},
                    TurnedCase{89, 4, 89.8f, 89.8f}, TurnedCase{89, 6, 90, 90.2f},
                    TurnedCase{-89, -6, -90, -90.2f}, TurnedCase{80, 100, 90, 100},
                    TurnedCase{-80, -100, -90, -100}, TurnedCase{1000, 7, 90, 1001.4f}));

}  // namespace
