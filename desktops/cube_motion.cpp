#include "desktops/cube_motion.h"

#include <cmath>

#include "desktops/layout.h"

namespace desktops {

void CubeMotion::Start(platform::Point cursor, std::uint32_t now) {
  State& s = state_;
  s.lastCursor = cursor;
  const float yaw = -kQuarterTurn * static_cast<float>(s.currentDesktop);
  s.shown = Pose{0, yaw, 0};
  s.target = Pose{0, yaw, 1};
  s.mouseTurning = true;
  s.animationClock = now;
}

void CubeMotion::Advance(platform::Clock& clock, float speed) {
  State& s = state_;
  // The unsigned difference keeps working when the counter wraps around; the
  // clock is read afresh before each step.
  while (static_cast<std::uint32_t>(clock.TickCount() - s.animationClock) >= kAnimationStepMs) {
    s.animationClock += kAnimationStepMs;
    const long double p = EasingFactor(speed);
    s.shown.zoomOut = EaseStep(s.shown.zoomOut, s.target.zoomOut, p);
    s.shown.pitch = EaseStep(s.shown.pitch, s.target.pitch, p);
    s.shown.yaw = EaseStep(s.shown.yaw, s.target.yaw, p);
  }
}

void CubeMotion::Snap() {
  State& s = state_;
  if (!s.mouseTurning) return;
  s.mouseTurning = false;
  s.target.zoomOut = 0;
  s.target.pitch = 0;
  const desktops::Snap snap = SnapYaw(s.target.yaw, s.shown.yaw);
  s.currentDesktop = snap.desktop;
  s.target.yaw = snap.targetYaw;
  s.shown.yaw = snap.shownYaw;
}

void CubeMotion::TurnFaces(int count) {
  state_.target.yaw -= kQuarterTurn * static_cast<float>(count);
  state_.currentDesktop = WrapDesktop(state_.currentDesktop + count);
}

void CubeMotion::TurnTo(std::int32_t desktop) {
  // Of the yaws that show the face, the nearest to the shown one; half a turn
  // away both are as near, and the one on (the lower yaw) is taken.
  const float rest = -kQuarterTurn * static_cast<float>(desktop);
  const float turns = std::ceil((state_.shown.yaw - rest) / kFullTurn - 0.5f);
  state_.target.yaw = rest + kFullTurn * turns;
  state_.currentDesktop = WrapDesktop(desktop);
}

CursorWrap CubeMotion::Turn(platform::Point cursor, std::int32_t screenWidth,
                            std::int32_t screenHeight) {
  State& s = state_;
  if (s.mouseTurning) {
    s.target.pitch = TurnedPitch(s.target.pitch, cursor.y - s.lastCursor.y);
    s.target.yaw = TurnedYaw(s.target.yaw, cursor.x - s.lastCursor.x);
    s.shown.pitch = s.target.pitch;
    s.shown.yaw = s.target.yaw;
  }
  const CursorWrap wrap = WrapCursor(cursor, screenWidth, screenHeight);
  s.lastCursor = platform::Point{cursor.x + wrap.shiftX, cursor.y + wrap.shiftY};
  return wrap;
}

bool CubeMotion::Settled() const {
  const State& s = state_;
  return !s.mouseTurning && desktops::Settled(s.shown.zoomOut, s.target.zoomOut, s.shown.pitch,
                                              s.target.pitch, s.shown.yaw, s.target.yaw);
}

}  // namespace desktops
