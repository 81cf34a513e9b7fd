#pragma once
// Where the mouse hook library's signal file is looked for.
#include <cstdint>
#include <string>

#include "platform/system.h"

namespace desktops {

constexpr std::uint32_t kTempPathBufferLength = 1000;

// The signal file in the user's temporary directory, or under "\" when the
// directory cannot be had.
std::string SignalFilePath(platform::FileSystem& files);

}  // namespace desktops
