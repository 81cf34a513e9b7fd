#pragma once
// Easing, snapping and mouse-turning arithmetic of the cube.
#include <cstdint>

#include "platform/types.h"

namespace desktops {

constexpr std::uint32_t kAnimationStepMs = 10;
constexpr float kQuarterTurn = 90.0f;
constexpr float kFullTurn = 360.0f;
constexpr float kHalfTurn = 180.0f;
constexpr float kPixelsPerDegree = 5.0f;
constexpr float kPitchLimit = 90.0f;
constexpr double kZoomOutSettled = 0.01;
constexpr double kAngleSettled = 1.0;

// The speed setting is used as stored, but a value that would never settle
// (zero, negative, not a number) or would oscillate without end would trap
// the user in the cube. Bounded at use to the slowest speed the settings
// offer and to the fastest that still converges monotonically.
constexpr float kSlowestSpeed = 0.2f;
constexpr float kFastestSpeed = 1.0f;
float BoundedSpeed(float speed);

// The share of the remaining distance covered in one animation step: speed³,
// at extended precision.
long double EasingFactor(float speed);

// One easing step: (1 - p)·shown + p·target, worked out at extended precision
// and stored as a float.
float EaseStep(float shown, float target, long double p);

// Whether shown values are close enough to their targets to end a session.
bool Settled(float shownZoomOut, float targetZoomOut, float shownPitch, float targetPitch,
             float shownYaw, float targetYaw);

struct Snap {
  int desktop = 0;
  float targetYaw = 0;
  float shownYaw = 0;
};
// The face nearest to targetYaw and the yaw to settle on, turning the shorter
// way. Both yaws are first brought into 0 <= yaw < 360 together; an exact
// half way between two faces goes to the even desktop.
Snap SnapYaw(float targetYaw, float shownYaw);

// The rest yaw of a desktop's face in 0..360: 0, 270, 180, 90.
float RestYaw(int desktop);

// Pitch after turning by a vertical cursor movement, held within the limits.
float TurnedPitch(float pitch, std::int32_t dy);
float TurnedYaw(float yaw, std::int32_t dx);

// Keeps the cursor off the screen edges so the cube can turn without limit:
// where the cursor should be put, and by how much the recorded previous
// position moves with it.
struct CursorWrap {
  bool moved = false;
  platform::Point put;
  std::int32_t shiftX = 0;
  std::int32_t shiftY = 0;
};
CursorWrap WrapCursor(platform::Point cursor, std::int32_t screenWidth, std::int32_t screenHeight);

}  // namespace desktops
