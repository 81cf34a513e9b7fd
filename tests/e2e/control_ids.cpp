// The dialogs' control identifiers and the tray icon's message, under the
// names the end-to-end scripts use, as the compiler reads them in the
// program's own headers. Nothing here runs: the text stays in the object
// file, and the build writes it out as control_ids.sh for dialogs.sh to
// source (CMakeLists.txt beside this file), so no number is copied by hand.
#include <array>
#include <cstddef>

#include "platform/shell.h"
#include "platform/win32/about_window.h"
#include "platform/win32/settings_window.h"

namespace {

namespace win32 = platform::win32;

struct NamedId {
  const char* name;
  unsigned value;
};

constexpr NamedId kIds[] = {
    {"ID_OK", win32::kIdOk},
    {"ID_CANCEL", win32::kIdCancel},
    {"ID_ZOOM", win32::kIdZoom},
    {"ID_SPEED", win32::kIdSpeed},
    {"ID_LANGUAGE", win32::kIdLanguage},
    // The labels are numbered from the language's.
    {"ID_LABEL_LANGUAGE", win32::kIdFirstLabel},
    {"ID_BACKGROUND_PATH", win32::kIdBackgroundPath},
    {"ID_TOP_PATH", win32::kIdTopFacePath},
    {"ID_BOTTOM_PATH", win32::kIdBottomFacePath},
    {"ID_BACKGROUND_CHECK", win32::kIdBackgroundCheck},
    {"ID_TOP_CHECK", win32::kIdTopFaceCheck},
    {"ID_BOTTOM_CHECK", win32::kIdBottomFaceCheck},
    {"ID_BROWSE_BACKGROUND", win32::kIdBrowseBackground},
    {"ID_BROWSE_TOP", win32::kIdBrowseTopFace},
    {"ID_ABOUT_PRODUCT", win32::kIdAboutProduct},
    {"ID_ABOUT_VERSION", win32::kIdAboutVersion},
    {"ID_ABOUT_ADDRESS", win32::kIdAboutAddress},
    {"TRAY_CALLBACK", platform::kTrayCallbackMessage},
};

constexpr unsigned kDecimal = 10;

constexpr std::size_t Length(const char* text) {
  std::size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

constexpr std::size_t Digits(unsigned value) {
  std::size_t digits = 1;
  for (; value >= kDecimal; value /= kDecimal) ++digits;
  return digits;
}

// "NAME=value\n" for each identifier after a '\n' that parts the first from
// whatever precedes it in the object file, and the closing zero.
constexpr std::size_t TextSize() {
  std::size_t size = 2;
  for (const NamedId& id : kIds) size += Length(id.name) + Digits(id.value) + 2;
  return size;
}

constexpr std::array<char, TextSize()> Lines() {
  std::array<char, TextSize()> text{};
  std::size_t at = 0;
  text[at++] = '\n';
  for (const NamedId& id : kIds) {
    for (const char* c = id.name; *c != '\0'; ++c) text[at++] = *c;
    text[at++] = '=';
    const std::size_t digits = Digits(id.value);
    unsigned value = id.value;
    for (std::size_t i = digits; i > 0; --i, value /= kDecimal) {
      text[at + i - 1] = static_cast<char>('0' + value % kDecimal);
    }
    at += digits;
    text[at++] = '\n';
  }
  return text;
}

}  // namespace

// Defined for no caller: external linkage keeps the text in the object file.
extern const std::array<char, TextSize()> kControlIdLines = Lines();
