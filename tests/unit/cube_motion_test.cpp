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
desktops::CubeMotion::State Moving() {
  desktops::CubeMotion::State moving;
  moving.shown = {37.4f, 30.2f, 0};
  moving.target = {0, -90, 1};
  return moving;
}

TEST(CubeMotionTest, StartsOnTheCurrentFaceCloseUpWithTheMouseTurning) {
  const std::pair<std::int32_t, float> restYaws[] = {{0, 0}, {1, -90}, {2, -180}, {3, -270}};
  for (const auto& [desktop, yaw] : restYaws) {
    SCOPED_TRACE(desktop);
    // What the last session left behind.
    desktops::CubeMotion::State left = Moving();
    left.currentDesktop = desktop;
    left.target.pitch = 12;
    desktops::CubeMotion motion(left);
    motion.Start({12, 34}, 5000);
    EXPECT_EQ(motion.CurrentDesktop(), desktop);
    EXPECT_FLOAT_EQ(motion.Shown().yaw, yaw);
    EXPECT_FLOAT_EQ(motion.Target().yaw, yaw);
    EXPECT_FLOAT_EQ(motion.Shown().pitch, 0);
    EXPECT_FLOAT_EQ(motion.Target().pitch, 0);
    EXPECT_FLOAT_EQ(motion.Shown().zoomOut, 0);
    EXPECT_FLOAT_EQ(motion.Target().zoomOut, 1);
    EXPECT_TRUE(motion.MouseTurning());
    EXPECT_EQ(motion.LastCursor().x, 12);
    EXPECT_EQ(motion.LastCursor().y, 34);
    EXPECT_EQ(motion.AnimationClock(), 5000u);
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
  desktops::CubeMotion::State moving = Moving();
  moving.animationClock = c.clock;
  desktops::CubeMotion motion(moving);
  desktops::Pose model = moving.shown;
  SetClock clock;
  clock.now = c.now;
  motion.Advance(clock, 0.3f);
  for (int i = 0; i < c.steps; ++i) {
    model.zoomOut = ModelStep(model.zoomOut, 1, 0.3f);
    model.pitch = ModelStep(model.pitch, 0, 0.3f);
    model.yaw = ModelStep(model.yaw, -90, 0.3f);
  }
  EXPECT_EQ(motion.AnimationClock(), c.clock + 10u * static_cast<std::uint32_t>(c.steps));
  EXPECT_EQ(motion.Shown().zoomOut, model.zoomOut);
  EXPECT_EQ(motion.Shown().pitch, model.pitch);
  EXPECT_EQ(motion.Shown().yaw, model.yaw);
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
  desktops::CubeMotion motion(Moving());
  desktops::Pose model = motion.Shown();
  SetClock clock;
  int steps = 0;
  while (!motion.Settled() && steps < 1000) {
    clock.now += 10;
    motion.Advance(clock, speed);
    model.zoomOut = ModelStep(model.zoomOut, 1, speed);
    model.pitch = ModelStep(model.pitch, 0, speed);
    model.yaw = ModelStep(model.yaw, -90, speed);
    ASSERT_EQ(motion.Shown().zoomOut, model.zoomOut) << "step " << steps;
    ASSERT_EQ(motion.Shown().pitch, model.pitch) << "step " << steps;
    ASSERT_EQ(motion.Shown().yaw, model.yaw) << "step " << steps;
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
    desktops::CubeMotion motion(Moving());
    SetClock clock;
    clock.now = 60000;
    motion.Advance(clock, speed);
    EXPECT_TRUE(motion.Settled()) << speed;
    EXPECT_EQ(motion.AnimationClock(), 60000u) << speed;
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
  desktops::CubeMotion::State turned;
  turned.currentDesktop = 2;
  turned.mouseTurning = c.turning;
  turned.shown = {12, c.shownYaw, 0};
  turned.target = {30, c.targetYaw, 1};
  desktops::CubeMotion motion(turned);
  motion.Snap();
  EXPECT_FALSE(motion.MouseTurning());
  EXPECT_EQ(motion.CurrentDesktop(), c.desktop);
  EXPECT_FLOAT_EQ(motion.Target().yaw, c.targetAfter);
  EXPECT_FLOAT_EQ(motion.Shown().yaw, c.shownAfter);
  EXPECT_FLOAT_EQ(motion.Target().pitch, c.turning ? 0 : 30);
  EXPECT_FLOAT_EQ(motion.Target().zoomOut, c.turning ? 0 : 1);
  EXPECT_FLOAT_EQ(motion.Shown().pitch, 12);
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
    desktops::CubeMotion::State at;
    at.currentDesktop = turn.desktop;
    at.target.yaw = turn.yaw;
    at.shown.yaw = 5;
    desktops::CubeMotion motion(at);
    motion.TurnFaces(turn.count);
    EXPECT_EQ(motion.CurrentDesktop(), turn.desktopAfter);
    EXPECT_FLOAT_EQ(motion.Target().yaw, turn.yawAfter);
    EXPECT_FLOAT_EQ(motion.Shown().yaw, 5);
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
  desktops::CubeMotion::State seen;
  seen.mouseTurning = c.turning;
  seen.lastCursor = {500, 400};
  seen.target.yaw = 10;
  seen.shown = {-3, 4, 0};
  desktops::CubeMotion motion(seen);
  const desktops::CursorWrap wrap = motion.Turn(c.cursor, kWidth, kHeight);
  EXPECT_EQ(wrap.moved, c.put.x != c.cursor.x || c.put.y != c.cursor.y);
  if (wrap.moved) {
    EXPECT_EQ(wrap.put.x, c.put.x);
    EXPECT_EQ(wrap.put.y, c.put.y);
  }
  EXPECT_EQ(motion.LastCursor().x, c.lastX);
  EXPECT_EQ(motion.LastCursor().y, c.lastY);
  EXPECT_FLOAT_EQ(motion.Target().yaw, c.yaw);
  EXPECT_FLOAT_EQ(motion.Target().pitch, c.pitch);
  EXPECT_FLOAT_EQ(motion.Shown().yaw, c.turning ? c.yaw : 4);
  EXPECT_FLOAT_EQ(motion.Shown().pitch, c.turning ? c.pitch : -3);
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
  EXPECT_TRUE(desktops::CubeMotion().Settled());
  desktops::CubeMotion::State turning;
  turning.mouseTurning = true;
  EXPECT_FALSE(desktops::CubeMotion(turning).Settled());
}

}  // namespace
