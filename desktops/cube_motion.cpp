#include "desktops/cube_motion.h"

#include <cmath>

#include "desktops/layout.h"

namespace desktops {

void CubeMotion::Start(platform::Point cursor) {
  lastCursorX = cursor.x;
  lastCursorY = cursor.y;
  shownPitch = 0;
  shownYaw = -kQuarterTurn * static_cast<float>(currentDesktop);
  targetPitch = 0;
  targetYaw = shownYaw;
  shownZoomOut = 0;
  targetZoomOut = 1;
  mouseTurning = true;
}

void CubeMotion::Advance(platform::Clock& clock, float speed) {
  // The unsigned difference keeps working when the counter wraps around; the
  // clock is read afresh before each step.
  while (static_cast<std::uint32_t>(clock.TickCount() - animationClock) >= kAnimationStepMs) {
    animationClock += kAnimationStepMs;
    const long double p = EasingFactor(speed);
    shownZoomOut = EaseStep(shownZoomOut, targetZoomOut, p);
    shownPitch = EaseStep(shownPitch, targetPitch, p);
    shownYaw = EaseStep(shownYaw, targetYaw, p);
  }
}

void CubeMotion::Snap() {
  if (!mouseTurning) return;
  mouseTurning = false;
  targetZoomOut = 0;
  targetPitch = 0;
  const desktops::Snap snap = SnapYaw(targetYaw, shownYaw);
  currentDesktop = snap.desktop;
  targetYaw = snap.targetYaw;
  shownYaw = snap.shownYaw;
}

void CubeMotion::TurnFaces(int count) {
  targetYaw -= kQuarterTurn * static_cast<float>(count);
  currentDesktop = WrapDesktop(currentDesktop + count);
}

void CubeMotion::TurnTo(std::int32_t desktop) {
  // Of the yaws that show the face, the nearest to the shown one; half a turn
  // away both are as near, and the one on (the lower yaw) is taken.
  const float rest = -kQuarterTurn * static_cast<float>(desktop);
  const float turns = std::ceil((shownYaw - rest) / kFullTurn - 0.5f);
  targetYaw = rest + kFullTurn * turns;
  currentDesktop = WrapDesktop(desktop);
}

CursorWrap CubeMotion::Turn(platform::Point cursor, std::int32_t screenWidth,
                            std::int32_t screenHeight) {
  if (mouseTurning) {
    targetPitch = TurnedPitch(targetPitch, cursor.y - lastCursorY);
    targetYaw = TurnedYaw(targetYaw, cursor.x - lastCursorX);
    shownPitch = targetPitch;
    shownYaw = targetYaw;
  }
  lastCursorX = cursor.x;
  lastCursorY = cursor.y;
  const CursorWrap wrap = WrapCursor(cursor, screenWidth, screenHeight);
  lastCursorX += wrap.shiftX;
  lastCursorY += wrap.shiftY;
  return wrap;
}

bool CubeMotion::Settled() const {
  return !mouseTurning && desktops::Settled(shownZoomOut, targetZoomOut, shownPitch, targetPitch,
                                            shownYaw, targetYaw);
}

}  // namespace desktops
