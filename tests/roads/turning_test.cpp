// The cube under the mouse, on a fake desktop: the signal file opens a
// session that follows a drag until the button is released, every paint
// keeps the cursor off the screen's edges, and the stored zoom and speed
// shape what the user sees.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/unit/form_fixture.h"

namespace {

class TurningTest : public FormTest {
 protected:
  void SetUp() override { window = desktop.AddWindow("Window", platform::Rect{10, 20, 410, 320}); }

  // Opens a session through the signal file with the left button held.
  void GrabAt(std::int32_t x, std::int32_t y) {
    desktop.files.insert(SignalFile());
    desktop.leftDown = true;
    desktop.cursor = {x, y};
    TimerTick();
    ASSERT_TRUE(form.SessionActive());
    ASSERT_TRUE(form.Motion().MouseTurning());
  }

  platform::WindowHandle window;
};

TEST_F(TurningTest, SignalFileOpensASessionThatFollowsTheMouse) {
  Start();
  GrabAt(500, 400);
  EXPECT_EQ(desktop.files.count(SignalFile()), 0u);
  EXPECT_EQ(desktop.paints, 0);  // no nested tick

  // Drag 450 pixels right: a quarter turn back, to the previous desktop.
  for (int x = 545; x <= 950; x += 45) {
    desktop.cursor = {x, 400};
    form.FormMouseMove();
  }
  const desktops::CubeMotion& motion = form.Motion();
  EXPECT_FLOAT_EQ(motion.Shown().yaw, 90);
  EXPECT_FLOAT_EQ(motion.Shown().pitch, 0);
  // The frame is turned by the angles the mouse step has just set.
  const float pullBack = form.Settings().zoom * motion.Shown().zoomOut;
  const std::vector<std::uint8_t> painted = desktop.gl().Pixels();
  EXPECT_TRUE(painted == ReferenceFrame(pullBack, 0, 90));
  EXPECT_FALSE(painted == ReferenceFrame(pullBack, 0, 81));
  desktop.leftDown = false;
  RunUntilHidden();
  EXPECT_EQ(motion.CurrentDesktop(), 3);
  EXPECT_LT(std::fabs(motion.Shown().pitch), 1.0f);
  EXPECT_EQ(LeftOf(window), 10 + kWidth);
}

TEST_F(TurningTest, HoldingTheButtonKeepsTheSessionOpenAndEveryTickFollowsTheMouse) {
  Start();
  GrabAt(500, 400);
  // Ten seconds with the button held: the zoom-out has long settled, but the
  // session waits for the release.
  for (int i = 0; i < 1000; ++i) {
    desktop.tick += 10;
    TimerTick();
  }
  EXPECT_TRUE(form.SessionActive());
  EXPECT_TRUE(desktop.IsVisible());
  EXPECT_NEAR(form.Motion().Shown().zoomOut, 1.0f, 0.01f);
  // The tick's own paint turns the cube, without a mouse-move event.
  desktop.cursor = {545, 400};
  desktop.tick += 10;
  TimerTick();
  EXPECT_FLOAT_EQ(form.Motion().Shown().yaw, 9);

  desktop.leftDown = false;
  RunUntilHidden();
  EXPECT_FALSE(form.SessionActive());
  EXPECT_EQ(form.Motion().CurrentDesktop(), 0);
}

// Every paint, turning or settling, puts a cursor that reached an edge back
// inside, in both directions at a corner.
TEST_F(TurningTest, PaintPutsTheCursorBackFromTheEdges) {
  Start();
  GrabAt(1000, 400);
  desktop.cursor = {1023, 767};
  form.FormMouseMove();
  EXPECT_EQ(desktop.cursor.x, 1);
  EXPECT_EQ(desktop.cursor.y, 1);

  desktop.leftDown = false;
  desktop.tick += 10;
  TimerTick();
  ASSERT_FALSE(form.Motion().MouseTurning());
  ASSERT_TRUE(form.SessionActive());
  desktop.cursor = {0, 400};
  form.FormMouseMove();
  EXPECT_EQ(desktop.cursor.x, kWidth - 2);
  EXPECT_EQ(desktop.cursor.y, 400);
}

TEST_F(TurningTest, StoredZoomPullsTheCameraBackWhileTurning) {
  settings::Settings stored;
  stored.zoom = 0.5f;
  Start(stored);
  GrabAt(500, 400);
  desktop.tick += 5000;
  TimerTick();
  const desktops::CubeMotion& motion = form.Motion();
  EXPECT_NEAR(motion.Shown().zoomOut, 1.0f, 0.01f);
  const std::vector<std::uint8_t> painted = desktop.gl().Pixels();
  EXPECT_TRUE(painted == ReferenceFrame(0.5f * motion.Shown().zoomOut, motion.Shown().pitch,
                                        motion.Shown().yaw));
  EXPECT_FALSE(painted == ReferenceFrame(0, motion.Shown().pitch, motion.Shown().yaw));
}

struct SpeedCase {
  float speed;
  int steps;  // of 10 ms until a quarter turn is within a degree of its face
};

class StoredSpeedTest : public TurningTest, public testing::WithParamInterface<SpeedCase> {};

// The speed the user stored paces every switch: the session ends at the
// tick after the one that brought the cube within a degree of its face.
TEST_P(StoredSpeedTest, PacesTheQuarterTurn) {
  settings::Settings stored;
  stored.speed = GetParam().speed;
  Start(stored);
  form.WMHotKey(app::kHotkeyRight);
  EXPECT_EQ(RunUntilHidden(), GetParam().steps + 1);
}

INSTANTIATE_TEST_SUITE_P(Speeds, StoredSpeedTest,
                         testing::Values(SpeedCase{0.2f, 561}, SpeedCase{0.3f, 165},
                                         SpeedCase{0.9f, 4}));

}  // namespace
