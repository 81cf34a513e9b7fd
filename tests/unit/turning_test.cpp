// Mouse turning, snapping and easing as the session runs them: a drag turns
// the cube by a fifth of a degree per pixel and tilts it within its limits,
// the release settles on a face with the pitch back at 0, and every easing
// step follows the rule p = speed³, (1 - p)·shown + p·target, worked out at
// extended precision and stored as a float.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "form_fixture.h"

namespace {

class TurningTest : public FormTest {
 protected:
  void SetUp() override {
    window = desktop.AddWindow("Window", platform::Rect{10, 20, 410, 320});
    Start();
  }

  // Opens a session through the signal file with the left button held.
  void GrabAt(std::int32_t x, std::int32_t y) {
    desktop.files.insert(desktop.tempPath + app::kSignalFileName);
    desktop.leftDown = true;
    desktop.cursor = {x, y};
    form.Timer1Timer();
    ASSERT_TRUE(form.sessionActive);
    ASSERT_TRUE(form.mouseTurning);
  }

  // Moves the cursor in steps of at most `step` pixels, each with its
  // mouse-move event.
  void DragTo(std::int32_t x, std::int32_t y, std::int32_t step = 50) {
    while (desktop.cursor.x != x || desktop.cursor.y != y) {
      const auto towards = [step](std::int32_t from, std::int32_t to) {
        if (to > from) return from + std::min(step, to - from);
        return from - std::min(step, from - to);
      };
      desktop.cursor = {towards(desktop.cursor.x, x), towards(desktop.cursor.y, y)};
      form.FormMouseMove();
    }
  }

  platform::WindowHandle window;
};

struct TiltCase {
  std::string name;
  std::int32_t fromY;
  std::int32_t toY;
  float pitch;
};

class TiltTest : public TurningTest, public testing::WithParamInterface<TiltCase> {};

// Dragging down tilts the cube forward, up backward, held within ±90; the
// shown pitch follows the mouse exactly. On release the pitch settles back
// to 0 and the session ends on the face it started from.
TEST_P(TiltTest, DragTiltsAndReleaseSettlesBackToPitchZero) {
  const TiltCase c = GetParam();
  GrabAt(500, c.fromY);
  DragTo(500, c.toY);
  EXPECT_FLOAT_EQ(form.targetPitch, c.pitch);
  EXPECT_FLOAT_EQ(form.shownPitch, c.pitch);
  EXPECT_FLOAT_EQ(form.shownYaw, 0);

  desktop.leftDown = false;
  desktop.tick += 10;
  form.Timer1Timer();
  EXPECT_FLOAT_EQ(form.targetPitch, 0);
  RunUntilHidden();
  EXPECT_FALSE(form.sessionActive);
  EXPECT_LT(std::fabs(form.shownPitch), 1.0f);
  EXPECT_EQ(form.currentDesktop, 0);
  EXPECT_EQ(LeftOf(window), 10);
}

INSTANTIATE_TEST_SUITE_P(
    Drags, TiltTest,
    testing::Values(TiltCase{"Down7", 300, 307, 1.4f}, TiltCase{"Up13", 300, 287, -2.6f},
                    TiltCase{"Down200", 100, 300, 40}, TiltCase{"Down450", 100, 550, 90},
                    TiltCase{"FurtherDown", 100, 700, 90}, TiltCase{"Up450", 700, 250, -90},
                    TiltCase{"FurtherUp", 700, 100, -90}),
    [](const testing::TestParamInfo<TiltCase>& info) { return info.param.name; });

TEST_F(TurningTest, HoldingTheButtonKeepsTheSessionOpenAndEveryTickFollowsTheMouse) {
  GrabAt(500, 400);
  // Ten seconds with the button held: the zoom-out has long settled, but the
  // session waits for the release.
  for (int i = 0; i < 1000; ++i) {
    desktop.tick += 10;
    form.Timer1Timer();
  }
  EXPECT_TRUE(form.sessionActive);
  EXPECT_TRUE(desktop.IsVisible());
  EXPECT_NEAR(form.shownZoomOut, 1.0f, 0.01f);
  // The tick's own paint turns the cube, without a mouse-move event.
  desktop.cursor = {545, 400};
  desktop.tick += 10;
  form.Timer1Timer();
  EXPECT_FLOAT_EQ(form.shownYaw, 9);

  desktop.leftDown = false;
  RunUntilHidden();
  EXPECT_FALSE(form.sessionActive);
  EXPECT_EQ(form.currentDesktop, 0);
}

TEST_F(TurningTest, CursorWrapsInEveryPaintAlsoWhileSettling) {
  GrabAt(500, 400);
  desktop.leftDown = false;
  desktop.tick += 10;
  form.Timer1Timer();
  ASSERT_FALSE(form.mouseTurning);
  ASSERT_TRUE(form.sessionActive);
  desktop.cursor = {0, 400};
  form.FormMouseMove();
  EXPECT_EQ(desktop.cursor.x, kWidth - 2);
  EXPECT_EQ(form.lastCursorX, kWidth - 1);
}

// Three presses in one session aim three quarter turns ahead: the cube turns
// the long way, 270 degrees, and the snap of the nested tick is not redone
// at later ticks (it would turn the short way back instead).
TEST_F(TurningTest, ThreePressesInOneSessionTurnTheLongWay) {
  for (int i = 0; i < 3; ++i) form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(form.currentDesktop, 3);
  EXPECT_FLOAT_EQ(form.targetYaw, -270);

  float previous = form.shownYaw;
  bool monotonic = true;
  while (form.sessionActive) {
    desktop.tick += 10;
    form.Timer1Timer();
    monotonic = monotonic && form.shownYaw <= previous;
    previous = form.shownYaw;
  }
  EXPECT_TRUE(monotonic);
  EXPECT_FLOAT_EQ(form.targetYaw, -270);
  EXPECT_NEAR(form.shownYaw, -270, 1);
  EXPECT_EQ(form.currentDesktop, 3);
  // Arranged once, three desktops on: one width to the right.
  EXPECT_EQ(LeftOf(window), 10 + kWidth);
  EXPECT_EQ(desktop.moves.size(), 3u);  // taskbar hidden, window, taskbar shown
}

// p = speed³ and each step (1 − p)·shown + p·target, at extended precision,
// each result stored as a float: the model the session must match exactly.
float ModelStep(float shown, float target, float speed) {
  const long double s = speed;
  const long double p = s * s * s;
  return static_cast<float>((1.0L - p) * shown + p * target);
}

class EasingTest : public TurningTest, public testing::WithParamInterface<float> {};

// A drag, held until the camera has pulled back, then released: zoom-out,
// pitch and yaw all ease, and every step of every value is compared with the
// model, bit for bit, until the session ends.
TEST_P(EasingTest, EveryStepMatchesTheExtendedPrecisionModel) {
  const float speed = GetParam();
  form.settings.speed = speed;
  GrabAt(300, 200);
  DragTo(451, 387);  // yaw +30.2, pitch +37.4: near face 0, tilted
  float zoom = 0;
  int steps = 0;
  while (zoom < 0.999f) {
    desktop.tick += 10;
    form.Timer1Timer();
    zoom = ModelStep(zoom, 1, speed);
    ASSERT_EQ(form.shownZoomOut, zoom) << "pull-back step " << steps;
    ++steps;
  }
  float pitch = form.shownPitch;
  float yaw = form.shownYaw;
  desktop.leftDown = false;
  desktop.tick += 10;
  form.Timer1Timer();  // one more pull-back step, then the snap
  zoom = ModelStep(zoom, 1, speed);
  ASSERT_EQ(form.shownZoomOut, zoom);
  ASSERT_FLOAT_EQ(form.targetYaw, 0);
  while (form.sessionActive) {
    desktop.tick += 10;
    form.Timer1Timer();
    if (!form.sessionActive) break;
    zoom = ModelStep(zoom, 0, speed);
    pitch = ModelStep(pitch, 0, speed);
    yaw = ModelStep(yaw, 0, speed);
    ASSERT_EQ(form.shownZoomOut, zoom) << "settling step " << steps;
    ASSERT_EQ(form.shownPitch, pitch) << "settling step " << steps;
    ASSERT_EQ(form.shownYaw, yaw) << "settling step " << steps;
    ++steps;
  }
  EXPECT_GT(steps, 8);
}

INSTANTIATE_TEST_SUITE_P(Speeds, EasingTest,
                         testing::Values(0.2f, 0.3f, 0.45f, 0.61f, 0.77f, 0.9f));

}  // namespace
