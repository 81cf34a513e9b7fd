#pragma once
// The cube's motion in a session: the angles and the pull-back shown and
// aimed at, whether the mouse turns the cube, the cursor last seen and the
// animation clock, with the steps that change them.
#include <cstdint>

#include "desktops/motion.h"
#include "platform/system.h"
#include "platform/types.h"

namespace desktops {

// How the cube stands: its angles in degrees and how far the camera is
// pulled back (0 close, 1 by the zoom setting).
struct Pose {
  float pitch = 0;
  float yaw = 0;
  float zoomOut = 0;
};

class CubeMotion {
 public:
  // Everything a motion holds. A program's motion starts at rest on desktop
  // 0; one built from a state stands wherever a test needs it to.
  struct State {
    std::int32_t currentDesktop = 0;
    Pose shown;
    Pose target;
    bool mouseTurning = false;
    platform::Point lastCursor;
    // Time up to which the animation has been advanced.
    std::uint32_t animationClock = 0;
  };

  CubeMotion() = default;
  explicit CubeMotion(const State& state) : state_(state) {}

  // A session starts on the face of the current desktop, the camera close,
  // aiming to pull back while the mouse turns the cube; the animation runs
  // from `now`, once the cube is on the screen.
  void Start(platform::Point cursor, std::uint32_t now);
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

  // The desktop shown, or being turned to.
  std::int32_t CurrentDesktop() const { return state_.currentDesktop; }
  // What a frame draws, and what the animation eases it towards.
  const Pose& Shown() const { return state_.shown; }
  const Pose& Target() const { return state_.target; }
  bool MouseTurning() const { return state_.mouseTurning; }
  platform::Point LastCursor() const { return state_.lastCursor; }
  std::uint32_t AnimationClock() const { return state_.animationClock; }

 private:
  State state_;
};

}  // namespace desktops
