#pragma once
#include <vector>

#include "platform/dialogs.h"

namespace settings {

// The picture dialog's list of file types: "All" covering every picture
// extension, then one entry per extension ("Bitmaps (*.bmp)"), in the order
// of the picture-format table.
std::vector<platform::FileFilter> PictureFilters();

}  // namespace settings
