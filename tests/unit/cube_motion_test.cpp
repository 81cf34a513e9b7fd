// The cube's motion, step by step: the start of a session, easing on the
// clock, the snap to a face, quarter turns, the mouse step of a paint and the
// end test.
#include "desktops/cube_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr std::int32_t kWidth = 1024;
constexpr std::int32_t kHeight = 768;

// A clock that reads what the test sets.
class SetClock : public platform::Clock {
 public:
  std::uint32_t TickCount() override { return now; }
  void Sleep(std::uint32_t) override {}

  std::uint32_t now = 0;
};

// p = speed³ and each step (1 − p)·shown + p·target, at extended precision,
// each result stored as a float: the model the motion must match exactly.
float ModelStep(float shown, float target, float speed) {
  const long double s = speed;
  const long double p = s * s * s;
  return static_cast<float>((1.0L - p) * shown + p * target);
}

// Pulled back and tilted, a face away from its target: every value has
// somewhere to go.
desktops::CubeMotion Moving() {
  desktops::CubeMotion motion;
  motion.shownZoomOut = 0;
  motion.targetZoomOut = 1;
  motion.shownPitch = 37.4f;
  motion.shownYaw = 30.2f;
  motion.targetYaw = -90;
  return motion;
}

TEST(CubeMotionTest, StartsOnTheCurrentFaceCloseUpWithTheMouseTurning) {
  const std::pair<std::int32_t, float> restYaws[] = {{0, 0}, {1, -90}, {2, -180}, {3, -270}};
  for (const auto& [desktop, yaw] : restYaws) {
    SCOPED_TRACE(desktop);
    // What the last session left behind.
    desktops::CubeMotion motion = Moving();
    motion.currentDesktop = desktop;
    motion.targetPitch = 12;
    motion.Start({12, 34});
    EXPECT_EQ(motion.currentDesktop, desktop);
    EXPECT_FLOAT_EQ(motion.shownYaw, yaw);
    EXPECT_FLOAT_EQ(motion.targetYaw, yaw);
    EXPECT_FLOAT_EQ(motion.shownPitch, 0);
    EXPECT_FLOAT_EQ(motion.targetPitch, 0);
    EXPECT_FLOAT_EQ(motion.shownZoomOut, 0);
    EXPECT_FLOAT_EQ(motion.targetZoomOut, 1);
    EXPECT_TRUE(motion.mouseTurning);
    EXPECT_EQ(motion.lastCursorX, 12);
    EXPECT_EQ(motion.lastCursorY, 34);
  }
}

struct ClockCase {
  std::uint32_t clock;  // animationClock before
  std::uint32_t now;
  int steps;
};

class AdvanceTest : public testing::TestWithParam<ClockCase> {};

// One step per whole 10 ms since the animation clock, late ticks catching up,
// the unsigned difference carrying across the wrap of the tick counter.
TEST_P(AdvanceTest, StepsOncePerWholeTenMilliseconds) {
  const ClockCase c = GetParam();
  desktops::CubeMotion motion = Moving();
  desktops::CubeMotion model = motion;
  motion.animationClock = c.clock;
  SetClock clock;
  clock.now = c.now;
  motion.Advance(clock, 0.3f);
  for (int i = 0; i < c.steps; ++i) {
    model.shownZoomOut = ModelStep(model.shownZoomOut, 1, 0.3f);
    model.shownPitch = ModelStep(model.shownPitch, 0, 0.3f);
    model.shownYaw = ModelStep(model.shownYaw, -90, 0.3f);
  }
  EXPECT_EQ(motion.animationClock, c.clock + 10u * static_cast<std::uint32_t>(c.steps));
  EXPECT_EQ(motion.shownZoomOut, model.shownZoomOut);
  EXPECT_EQ(motion.shownPitch, model.shownPitch);
  EXPECT_EQ(motion.shownYaw, model.shownYaw);
}

INSTANTIATE_TEST_SUITE_P(Clocks, AdvanceTest,
                         testing::Values(ClockCase{1000, 1000, 0}, ClockCase{1000, 1009, 0},
                                         ClockCase{1000, 1010, 1}, ClockCase{1000, 1019, 1},
                                         ClockCase{1000, 1045, 4}, ClockCase{0xFFFFFFF0u, 0x18u, 4},
                                         ClockCase{0xFFFFFFFAu, 0x4u, 1}));

class EasingTest : public testing::TestWithParam<float> {};

// Step by step until the motion settles, every value compared with the
// model, bit for bit.
TEST_P(EasingTest, EveryStepMatchesTheExtendedPrecisionModel) {
  const float speed = GetParam();
  desktops::CubeMotion motion = Moving();
  desktops::CubeMotion model = motion;
  SetClock clock;
  int steps = 0;
  while (!motion.Settled() && steps < 1000) {
    clock.now += 10;
    motion.Advance(clock, speed);
    model.shownZoomOut = ModelStep(model.shownZoomOut, 1, speed);
    model.shownPitch = ModelStep(model.shownPitch, 0, speed);
    model.shownYaw = ModelStep(model.shownYaw, -90, speed);
    ASSERT_EQ(motion.shownZoomOut, model.shownZoomOut) << "step " << steps;
    ASSERT_EQ(motion.shownPitch, model.shownPitch) << "step " << steps;
    ASSERT_EQ(motion.shownYaw, model.shownYaw) << "step " << steps;
    ++steps;
  }
  EXPECT_TRUE(motion.Settled());
}

INSTANTIATE_TEST_SUITE_P(Speeds, EasingTest,
                         testing::Values(0.2f, 0.3f, 0.45f, 0.61f, 0.77f, 0.9f));

// After a long stall one call runs every step, and the motion has settled,
// whatever speed the store held: one that would never settle, or oscillate,
// would trap the user in the cube.
TEST(CubeMotionTest, OneLateCallSettlesAtAnyStoredSpeed) {
  for (float speed : {0.3f, 0.2f, 0.9f, 0.0f, -2.0f, 5.0f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN()}) {
    desktops::CubeMotion motion = Moving();
    SetClock clock;
    clock.now = 60000;
    motion.Advance(clock, speed);
    EXPECT_TRUE(motion.Settled()) << speed;
    EXPECT_EQ(motion.animationClock, 60000u) << speed;
  }
}

struct SnapCase {
  std::string name;
  bool turning;
  float targetYaw;
  float shownYaw;
  std::int32_t desktop;  // afterwards
  float targetAfter;
  float shownAfter;
};

class SnapTest : public testing::TestWithParam<SnapCase> {};

// The snap ends mouse turning and aims at the nearest face with the camera
// close and the pitch level; it does nothing once turning has ended, so a
// quarter turn aimed after it stands.
TEST_P(SnapTest, AimsAtTheNearestFaceOnceTheMouseLetsGo) {
  const SnapCase c = GetParam();
  desktops::CubeMotion motion;
  motion.currentDesktop = 2;
  motion.mouseTurning = c.turning;
  motion.targetYaw = c.targetYaw;
  motion.shownYaw = c.shownYaw;
  motion.targetPitch = 30;
  motion.shownPitch = 12;
  motion.targetZoomOut = 1;
  motion.Snap();
  EXPECT_FALSE(motion.mouseTurning);
  EXPECT_EQ(motion.currentDesktop, c.desktop);
  EXPECT_FLOAT_EQ(motion.targetYaw, c.targetAfter);
  EXPECT_FLOAT_EQ(motion.shownYaw, c.shownAfter);
  EXPECT_FLOAT_EQ(motion.targetPitch, c.turning ? 0 : 30);
  EXPECT_FLOAT_EQ(motion.targetZoomOut, c.turning ? 0 : 1);
  EXPECT_FLOAT_EQ(motion.shownPitch, 12);
}

INSTANTIATE_TEST_SUITE_P(
    Yaws, SnapTest,
    testing::Values(SnapCase{"NearestFace", true, 46, 46, 3, 90, 46},
                    // Both yaws brought into range together; on by 10, not back by 350.
                    SnapCase{"OnTheShortWay", true, -10, -10, 0, 360, 350},
                    SnapCase{"ShownLagging", true, 370, 20, 0, -360, -340},
                    SnapCase{"NotTurning", false, -180, -170, 2, -180, -170}),
    [](const testing::TestParamInfo<SnapCase>& info) { return info.param.name; });

TEST(CubeMotionTest, QuarterTurnsMoveTheTargetAndTheDesktopTogether) {
  struct {
    std::int32_t desktop;
    float yaw;
    int count;
    std::int32_t desktopAfter;
    float yawAfter;
  } const turns[] = {{0, 0, 1, 1, -90},
                     {0, 0, -1, 3, 90},
                     {3, -270, 1, 0, -360},
                     {1, 270, 2, 3, 90},
                     {0, 360, -2, 2, 540}};
  for (const auto& turn : turns) {
    SCOPED_TRACE(std::to_string(turn.desktop) + " by " + std::to_string(turn.count));
    desktops::CubeMotion motion;
    motion.currentDesktop = turn.desktop;
    motion.targetYaw = turn.yaw;
    motion.shownYaw = 5;
    motion.TurnFaces(turn.count);
    EXPECT_EQ(motion.currentDesktop, turn.desktopAfter);
    EXPECT_FLOAT_EQ(motion.targetYaw, turn.yawAfter);
    EXPECT_FLOAT_EQ(motion.shownYaw, 5);
  }
}

struct TurnCase {
  std::string name;
  bool turning;
  platform::Point cursor;
  platform::Point put;  // where the cursor must go; the cursor itself for none
  std::int32_t lastX;   // recorded afterwards
  std::int32_t lastY;
  float yaw;  // target afterwards
  float pitch;
};

class TurnTest : public testing::TestWithParam<TurnCase> {};

// From the cursor last seen at (500, 400), target yaw 10, pitch 0: while the
// mouse turns the cube, a fifth of a degree per pixel, sideways for yaw and
// down for pitch, and the shown angles follow exactly. In every paint the
// cursor is then recorded and kept off the edges; the recorded position
// moves one pixel further than the cursor, so the next frame goes on.
TEST_P(TurnTest, TurnsByTheCursorAndKeepsItOffTheEdges) {
  const TurnCase c = GetParam();
  desktops::CubeMotion motion;
  motion.mouseTurning = c.turning;
  motion.lastCursorX = 500;
  motion.lastCursorY = 400;
  motion.targetYaw = 10;
  motion.shownYaw = 4;
  motion.shownPitch = -3;
  const desktops::CursorWrap wrap = motion.Turn(c.cursor, kWidth, kHeight);
  EXPECT_EQ(wrap.moved, c.put.x != c.cursor.x || c.put.y != c.cursor.y);
  if (wrap.moved) {
    EXPECT_EQ(wrap.put.x, c.put.x);
    EXPECT_EQ(wrap.put.y, c.put.y);
  }
  EXPECT_EQ(motion.lastCursorX, c.lastX);
  EXPECT_EQ(motion.lastCursorY, c.lastY);
  EXPECT_FLOAT_EQ(motion.targetYaw, c.yaw);
  EXPECT_FLOAT_EQ(motion.targetPitch, c.pitch);
  EXPECT_FLOAT_EQ(motion.shownYaw, c.turning ? c.yaw : 4);
  EXPECT_FLOAT_EQ(motion.shownPitch, c.turning ? c.pitch : -3);
}

INSTANTIATE_TEST_SUITE_P(
    Screen1024x768, TurnTest,
    testing::Values(TurnCase{"Right45", true, {545, 400}, {545, 400}, 545, 400, 19, 0},
                    TurnCase{"LeftAndDown", true, {497, 407}, {497, 407}, 497, 407, 9.4f, 1.4f},
                    // A corner wraps both ways in the same paint.
                    TurnCase{"BottomRightCorner", true, {1023, 767}, {1, 1}, 0, 0, 114.6f, 73.4f},
                    TurnCase{"TopLeftCorner", true, {0, 0}, {1022, 766}, 1023, 767, -90, -80},
                    // Settling: the angles stay, the cursor still wraps.
                    TurnCase{"SettlingInside", false, {700, 300}, {700, 300}, 700, 300, 10, 0},
                    TurnCase{"SettlingLeftEdge", false, {0, 300}, {1022, 300}, 1023, 300, 10, 0},
                    TurnCase{"SettlingRightEdge", false, {1023, 300}, {1, 300}, 0, 300, 10, 0},
                    TurnCase{"SettlingBottomEdge", false, {700, 767}, {700, 1}, 700, 0, 10, 0}),
    [](const testing::TestParamInfo<TurnCase>& info) { return info.param.name; });

TEST(CubeMotionTest, NeverSettlesWhileTheMouseTurns) {
  desktops::CubeMotion motion;
  EXPECT_TRUE(motion.Settled());
  motion.mouseTurning = true;
  EXPECT_FALSE(motion.Settled());
}

}  // namespace
