#include "desktops/motion.h"

#include <cmath>

#include "desktops/layout.h"

namespace desktops {

namespace {
constexpr float kFarYaw = 1.0e6f;
}  // namespace

float BoundedSpeed(float speed) {
  if (std::isnan(speed)) return kSlowestSpeed;
  if (speed < kSlowestSpeed) return kSlowestSpeed;
  if (speed > kFastestSpeed) return kFastestSpeed;
  return speed;
}

long double EasingFactor(float speed) {
  const long double s = BoundedSpeed(speed);
  return s * s * s;
}

float EaseStep(float shown, float target, long double p) {
  return static_cast<float>((1.0L - p) * shown + p * target);
}

bool Settled(float shownZoomOut, float targetZoomOut, float shownPitch, float targetPitch,
             float shownYaw, float targetYaw) {
  return std::fabs(static_cast<double>(targetZoomOut) - shownZoomOut) < kZoomOutSettled &&
         std::fabs(static_cast<double>(targetPitch) - shownPitch) < kAngleSettled &&
         std::fabs(static_cast<double>(targetYaw) - shownYaw) < kAngleSettled;
}

float RestYaw(int desktop) {
  float yaw = -kQuarterTurn * static_cast<float>(WrapDesktop(desktop));
  if (yaw < 0) yaw += kFullTurn;
  return yaw;
}

Snap SnapYaw(float targetYaw, float shownYaw) {
  Snap snap{0, targetYaw, shownYaw};
  if (!std::isfinite(targetYaw) || !std::isfinite(shownYaw)) {
    // Nothing sensible to snap from; settle on the front face at once.
    snap.targetYaw = snap.shownYaw = 0;
    return snap;
  }
  // Far beyond any real drag, stepping by whole turns would never end (a
  // float that large does not change by 360); jump there in one go.
  if (std::fabs(snap.targetYaw) > kFarYaw) {
    const float reduced = std::fmod(snap.targetYaw, kFullTurn);
    snap.shownYaw -= snap.targetYaw - reduced;
    snap.targetYaw = reduced;
  }
  while (snap.targetYaw < 0) {
    snap.targetYaw += kFullTurn;
    snap.shownYaw += kFullTurn;
  }
  while (snap.targetYaw >= kFullTurn) {
    snap.targetYaw -= kFullTurn;
    snap.shownYaw -= kFullTurn;
  }
  // 360 - yaw/90 lies in (356, 360]; nearbyint rounds a half to even.
  const long double nearest =
      std::nearbyint(4.0L * kQuarterTurn - static_cast<long double>(snap.targetYaw) / kQuarterTurn);
  snap.desktop = WrapDesktop(static_cast<int>(nearest));
  snap.targetYaw = RestYaw(snap.desktop);
  if (std::fabs(snap.targetYaw - snap.shownYaw) > kHalfTurn) {
    snap.targetYaw += snap.targetYaw > snap.shownYaw ? -kFullTurn : kFullTurn;
  }
  return snap;
}

float TurnedPitch(float pitch, std::int32_t dy) {
  const float turned = pitch + static_cast<float>(dy) / kPixelsPerDegree;
  if (turned < -kPitchLimit) return -kPitchLimit;
  if (turned > kPitchLimit) return kPitchLimit;
  return turned;
}

float TurnedYaw(float yaw, std::int32_t dx) {
  return yaw + static_cast<float>(dx) / kPixelsPerDegree;
}

CursorWrap WrapCursor(platform::Point cursor, std::int32_t w, std::int32_t h) {
  CursorWrap wrap;
  wrap.put = cursor;
  if (cursor.x == w - 1) {
    wrap.shiftX = -(w - 1);
    wrap.put.x = 1;
  } else if (cursor.x == 0) {
    wrap.shiftX = w - 1;
    wrap.put.x = w - 2;
  }
  if (cursor.y == h - 1) {
    wrap.shiftY = -(h - 1);
    wrap.put.y = 1;
  } else if (cursor.y == 0) {
    wrap.shiftY = h - 1;
    wrap.put.y = h - 2;
  }
  wrap.moved = wrap.shiftX != 0 || wrap.shiftY != 0;
  return wrap;
}

}  // namespace desktops
