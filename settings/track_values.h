#pragma once
// Settings shown on track bars: a track bar position is the setting times
// one hundred.
#include "platform/dialogs.h"

namespace settings {

using platform::kSpeedRange;
using platform::kZoomRange;
using platform::TrackRange;

// The position that shows `value`: value x 100 rounded to the nearest
// integer (halves away from zero), limited to the range. A value that is not
// a number shows at the range's lower end.
int TrackPosition(float value, TrackRange range);

// The setting a position stands for: position / 100, in single precision.
float TrackValue(int position);

}  // namespace settings
