#include "settings/track_values.h"

#include <algorithm>
#include <cmath>

namespace settings {

namespace {
constexpr double kPositionsPerUnit = 100.0;
}  // namespace

int TrackPosition(float value, TrackRange range) {
  const double scaled = static_cast<double>(value) * kPositionsPerUnit;
  if (std::isnan(scaled)) return range.min;
  // Limited before rounding, so huge stored values cannot overflow.
  const double limited =
      std::clamp(scaled, static_cast<double>(range.min), static_cast<double>(range.max));
  return static_cast<int>(std::lround(limited));
}

float TrackValue(int position) {
  return static_cast<float>(static_cast<double>(position) / kPositionsPerUnit);
}

}  // namespace settings
