#pragma once
// The cube's motion in a session: the angles and the pull-back shown and
// aimed at, whether the mouse turns the cube, the cursor last seen and the
// animation clock, with the steps that change them.
#include <cstdint>

#include "desktops/motion.h"
#include "platform/system.h"
#include "platform/types.h"

namespace desktops {

class CubeMotion {
 public:
  // A session starts on the face of `currentDesktop`, the camera close, aiming
  // to pull back while the mouse turns the cube. The animation clock is set
  // apart, once the cube is on the screen.
  void Start(platform::Point cursor);
  // Eases the shown values towards their targets by speed³ for every whole
  // step of the clock's time since the last; late ticks catch up.
  void Advance(platform::Clock& clock, float speed);
  // Ends mouse turning and aims at the nearest face, the shorter way round.
  void Snap();
  // Aims `count` faces on (Ctrl+Alt+Right is +1), or back when negative.
  void TurnFaces(int count);
  // Aims at the face of `desktop` the short way from where the cube is shown
  // (two on for the one opposite), whatever was aimed at before.
  void TurnTo(std::int32_t desktop);
  // The mouse step of a paint: while the mouse turns the cube, the cursor's
  // movement turns it; then the cursor is recorded and kept off the screen's
  // edges. Says where the cursor must be put.
  CursorWrap Turn(platform::Point cursor, std::int32_t screenWidth, std::int32_t screenHeight);
  // Nothing is left to move: the session can end.
  bool Settled() const;

  std::int32_t currentDesktop = 0;
  float shownPitch = 0;
  float shownYaw = 0;
  float targetPitch = 0;
  float targetYaw = 0;
  float shownZoomOut = 0;
  float targetZoomOut = 0;
  bool mouseTurning = false;
  std::int32_t lastCursorX = 0;
  std::int32_t lastCursorY = 0;
  // Time up to which the animation has been advanced.
  std::uint32_t animationClock = 0;
};

}  // namespace desktops
